// One shred job: the progress dialog, its worker thread, and what the user is told afterwards.
#pragma once

#include "job/job_rows.h"
#include "job/job_text.h"
#include "job/shred_job_list.h"

#include <windows.h>

#include <vector>

// Runs the job over the rows of list as they are now, with its checked method, on the main
// thread of list.Owner(). Each row is shredded only if its item is still the one whose identity
// the row recorded; a row leaves the list only when the engine reports its item destroyed.
// Returns once the progress dialog has ended and its worker is gone. When items could not be
// shredded, they remain in the list and one message box owned by list.Owner() says how many.
void RunShredJob(ShredJobList& list);

// ReconcileJobRows with the list's drawing held until every row is done.
int ReconcileListedRows(ShredJobList& list, const std::vector<JobRow>& rows, bool countUnreached);
