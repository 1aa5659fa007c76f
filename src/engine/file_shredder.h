// Destroys one file: overwrite, truncate, ten random renames, delete.
#pragma once

#include "engine/overwrite_methods.h"

#include <string>

// Results of ShredFile.
constexpr int ShredFileDeleted = 0; // overwritten, truncated, renamed and deleted
constexpr int ShredFileOverwriteFailed =
    1;                                   // a pass failed: left in place, not truncated or renamed
constexpr int ShredFileDeleteFailed = 2; // renamed, but still there under its current path
constexpr int ShredFileOpenFailed = -1;  // not a usable full path, not a file, a link (never
                                         // followed), or could not be opened: left as it was,
                                         // apart from its attributes once it was found to be
                                         // the very file
constexpr int ShredFileNameRemoved = 3;  // the file has other names (hard links): its data was
                                         // left to them, only this name was renamed and removed

// Shreds the file at path, a full path. On return path holds the file's current path (its last
// successful random name), whatever happened.
int ShredFile(std::wstring& path, ShredMethod method);
