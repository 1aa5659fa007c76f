// How the job judges a row's item on disk. Only rows with a usable full path (IsUsableFullPath)
// ever reach these: anything else would be resolved against the current drive or folder.
#pragma once

#include <string>

// A row is a folder when its path has the directory attribute, and also when its attributes
// cannot be read: the folder walk then finds nothing to list and does nothing.
bool IsFolderRow(const std::wstring& path);

// False only when the platform says the item at path is not there.
bool ShredItemExists(const std::wstring& path);
