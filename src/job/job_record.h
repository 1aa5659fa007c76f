// What one shred job shares between its progress dialog, its worker thread and the main window.
#pragma once

#include "engine/overwrite_methods.h"
#include "job/job_progress.h"
#include "job/job_rows.h"
#include "job/shutdown_guard.h"
#include "job/worker_thread.h"

#include <vector>

enum class JobStage {
    Counting, // WM_INITDIALOG: the steps are being counted
    Waiting,  // the dialog stands, the worker is not started yet
    Running,  // the worker runs; the dialog ends only when the worker says it is done
    Ended     // the dialog has been ended
};

struct ShredJobRecord {
    JobStage stage = JobStage::Ended;
    // The rows and method as they were when the user answered Yes; the worker works on these and
    // the list is brought up to date from them once the worker is gone.
    std::vector<JobRow> rows;
    ShredMethod method = nullptr;
    // The bar's maximum: the steps counted before the job.
    int totalSteps = 0;
    JobProgress progress;
    ThreadHandle worker;
    // The worker's loop ended on a failure, or no worker could run: rows not reached count.
    bool failed = false;
    ShutdownBlockReason shutdownBlock;
};

// The job in progress; there is at most one, as its dialog is modal.
extern ShredJobRecord CurrentJob;

// Makes CurrentJob ready for a new job over the rows and method of list.
void ResetShredJob(const ShredJobList& list);
