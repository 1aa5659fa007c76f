// The job's free-space rows: the free space read when the job is counted, and the wipe of each
// after every other row of the job.
#pragma once

#include "engine/free_space_wipe.h"
#include "job/job_progress.h"
#include "job/job_rows.h"

#include <string>
#include <vector>

// Read a volume's free space and wipe it, with the signatures of ReadFreeSpace and WipeFreeSpace.
// The job and the list reach the volume only through these, so that a test can stand in for it.
using FreeSpaceReader = bool (*)(const std::wstring& root, ULONGLONG& bytes);
using FreeSpaceWiper = FreeSpaceWipeResult (*)(const std::wstring& root, ShredMethod method,
                                               ShredProgress& progress);
extern FreeSpaceReader ReadVolumeFreeSpace;
extern FreeSpaceWiper WipeVolumeFreeSpace;

// The name of the free-space row of the volume at root ("D:\"): "Free space of D:", in the list
// and on the progress dialog.
std::wstring FreeSpaceRowName(const std::wstring& root);

// Each free-space row's bytes to write: the volume's free space now, times the method's passes.
void CountFreeSpaceBytes(std::vector<JobRow>& rows, ShredMethod method);

// Wipes the free space of each free-space row in list order, until the job asks to stop, showing
// the row's name and moving the bar with the bytes written. A row counts as destroyed only when
// its wipe reports every pass done and the space given back.
void WipeFreeSpaceRows(std::vector<JobRow>& rows, ShredMethod method, JobProgress& progress);
