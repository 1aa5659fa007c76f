// How the job counts a row's item on disk. Only rows with a usable full path (IsUsableFullPath)
// ever reach this: anything else would be resolved against the current drive or folder.
#pragma once

#include <string>

// For the count before the job, which follows the path: a row is a folder when its path has the
// directory attribute, and also when its attributes cannot be read (the folder count then gives
// 1). The shred itself goes by what the opened item is.
bool IsFolderRow(const std::wstring& path);
