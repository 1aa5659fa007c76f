// What one shred job shares between its progress dialog, its worker thread and the main window.
#pragma once

#include "job/shred_job_list.h"
#include "job/worker_thread.h"

#include <atomic>

enum class JobStage {
    Counting, // WM_INITDIALOG: the steps are being counted
    Waiting,  // the dialog stands, the worker is not started yet
    Running,  // the worker runs; the dialog ends only when the worker says it is done
    Ended     // the dialog has been ended
};

struct ShredJobRecord {
    JobStage stage = JobStage::Ended;
    // The job's rows, method and owner window, for the whole job.
    ShredJobList* list = nullptr;
    // Set on the main thread by a close request; the worker heeds it between items.
    std::atomic<bool> cancelRequested{false};
    ThreadHandle worker;
    // Rows whose item still exists after the job although the job meant to shred it: written by
    // the worker before it reports that it is done, or by the dialog when no worker could run.
    int notShredded = 0;
};

// The job in progress; there is at most one, as its dialog is modal.
extern ShredJobRecord CurrentJob;

// Makes CurrentJob ready for a new job over list.
void ResetShredJob(ShredJobList& list);
