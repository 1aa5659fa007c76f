// One shred job: the progress dialog, its worker thread, and what the user is told afterwards.
#pragma once

#include "job/job_text.h"
#include "job/shred_job_list.h"

#include <windows.h>

// Runs the job over every row of list with its checked method. Returns once the progress
// dialog has ended and its worker is gone. When items could not be shredded, they remain in the
// list and one message box owned by list.Owner() says how many.
void RunShredJob(ShredJobList& list);
