// Wiping the free space of a volume: filling it with every pass of a method from files of the
// program's own, then giving it all back.
#pragma once

#include "engine/overwrite_methods.h"
#include "engine/shred_progress.h"

#include <windows.h>

#include <string>
#include <vector>

// The free space of the volume whose root is root ("D:\\" or "\\\\?\\Volume{...}\\"); false and
// the last error on failure.
bool ReadFreeSpace(const std::wstring& root, ULONGLONG& bytes);

enum class FreeSpaceWipeResult { Wiped, Stopped, Failed };

// Fills the volume's free space with every pass of method and gives it back; progress.ShowName is
// not called; progress.StopRequested() is heeded between chunks; progress.BytesWritten(n) after
// each chunk written (n bytes).
FreeSpaceWipeResult WipeFreeSpace(const std::wstring& root, ShredMethod method,
                                  ShredProgress& progress);

// At start-up: removes every fill folder left behind by a power cut on the local volumes (fixed,
// removable), and nothing else: only a folder of the fill's name holding nothing but plain files
// of the fill's name pattern, each with one link. Returns the paths of look-alike folders left
// alone, for the user to be told.
std::vector<std::wstring> RemoveLeftoverFillFolders();

// The fill folder's name at a volume's root.
extern const wchar_t FillFolderName[];
