// Destroys one file: overwrite, truncate, ten random renames, delete.
#pragma once

#include "engine/overwrite_methods.h"

#include <string>

// Results of ShredFile.
constexpr int ShredFileDeleted = 0; // overwritten, truncated, renamed and deleted
constexpr int ShredFileOverwriteFailed =
    1;                                   // a pass failed: left in place, not truncated or renamed
constexpr int ShredFileDeleteFailed = 2; // renamed, but still there under its current path
constexpr int ShredFileOpenFailed = -1;  // not a usable full path, or could not be opened

// Shreds the file at path, a full path. On return path holds the file's current path (its last
// successful random name), whatever happened.
int ShredFile(std::wstring& path, ShredMethod method);
