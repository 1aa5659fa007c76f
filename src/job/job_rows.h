// The rows of a job, taken from the list once before the job starts, as far as the worker got with
// them, and the list brought up to date from them however the worker's loop ended.
#pragma once

#include "engine/item_identity.h"
#include "job/shred_job_list.h"

#include <cstdint>
#include <string>
#include <vector>

enum class RowState {
    NotReached, // the loop ended before this row
    LeftAlone,  // not a usable full path, or no identity recorded: never examined
    Reached     // handed to the engine: judged by what the engine reported
};

struct JobRow {
    JobRowKind kind = JobRowKind::Item;
    // A free-space row: the volume's root.
    std::wstring originalPath;
    bool hasIdentity = false;
    ItemId identity;
    RowState state = RowState::NotReached;
    // Where the item stands now and which id it has there: the engine writes each new name back
    // here, and the id a rename gave it where the volume derives ids from the place of the name.
    std::wstring currentPath;
    ItemId currentIdentity;
    // The engine reported the item destroyed: the file deleted, the folder removed.
    bool destroyed = false;
    // A free-space row: the bytes its wipe writes, its free space when counted times the passes.
    std::uint64_t freeSpaceBytes = 0;
};

// The job shreds an item's row only when it has a usable full path and a recorded identity; it
// leaves any other alone and counts no steps for it. A free-space row is never one.
bool IsShreddableRow(const JobRow& row);

// Every row of list with its path and recorded identity, read once.
std::vector<JobRow> TakeJobRows(const ShredJobList& list);

// Deletes the row of every item the engine reported destroyed, gives every other reached item's
// row its current path and identity, and leaves all other rows as they are. Returns how many rows
// stay and count as not shredded: all that stay, except rows not reached when countUnreached is
// false (the user stopped the job). Never throws: a row that cannot be rewritten stays and counts.
int ReconcileJobRows(ShredJobList& list, const std::vector<JobRow>& rows, bool countUnreached);
