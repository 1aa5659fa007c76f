// Destroys one file: overwrite, truncate, ten random renames, delete, all through one checked
// handle.
#pragma once

#include "engine/overwrite_methods.h"
#include "engine/shred_progress.h"

#include <string>

// Results of ShredFile.
constexpr int ShredFileDeleted = 0;         // overwritten, truncated, renamed and deleted
constexpr int ShredFileOverwriteFailed = 1; // a pass failed: left in place, not truncated or
                                            // renamed, with its attributes
constexpr int ShredFileDeleteFailed = 2;    // renamed, but still there under its current path
constexpr int ShredFileOpenFailed = -1;     // not a usable full path, not a file, a link (never
                                            // followed), or could not be opened: left as it was
constexpr int ShredFileHasOtherNames = 3;   // the file has other names (hard links): left whole,
                                            // since its data lives on under them
constexpr int ShredFileNotTheChosen = 4;    // another item than the one chosen: left as it was

// Shreds the file at path, a full path: shows its name, shreds it and takes one step on progress,
// and stops between the chunks of a pass once progress asks to (ShredFileOverwriteFailed). On
// return path holds the file's current path (its last successful random name), whatever
// happened. A file that stays keeps its attributes.
int ShredFile(std::wstring& path, ShredMethod method, ShredProgress& progress);
