// The rows of a job as far as the worker got with them, and the list brought up to date from
// them however the worker's loop ended.
#pragma once

#include "job/shred_job_list.h"

#include <string>
#include <vector>

enum class RowState {
    NotReached, // the loop ended before this row
    LeftAlone,  // its path is not a usable full path: never examined
    Reached     // handed to the engine: judged by what is on disk
};

struct JobRow {
    RowState state = RowState::NotReached;
    std::wstring originalPath;
    // Where the item stands now: the engine writes each new name back here.
    std::wstring currentPath;
};

// Deletes the row of every reached item that is gone from disk, shows every reached item that
// is still there under its current path, and leaves all other rows as they are. Returns how many
// rows stay and count as not shredded: all that stay, except rows not reached when
// countUnreached is false (the user stopped the job). Never throws: a row that cannot be judged
// or rewritten stays and counts.
int ReconcileJobRows(ShredJobList& list, const std::vector<JobRow>& rows, bool countUnreached);
