// Walks folder trees: counts the progress steps of a folder and shreds it depth first.
#pragma once

#include "engine/overwrite_methods.h"

#include <atomic>
#include <string>

// The number of progress steps ShredFolder will take for the folder at path: one per file and
// one per folder of the tree, the folder itself included. A folder that cannot be listed counts 1.
int CountShredItems(std::wstring path);

// Shreds the folder at path (a full path) and everything in it, reporting each name on control
// 1014 and each step on control 1013 of progress. Stops between entries once cancel is set. On
// return path holds the folder's current path. 0 after a walk, -1 when it could not be listed.
int ShredFolder(std::wstring& path, ShredMethod method, HWND& progress,
                const std::atomic<bool>* cancel = nullptr);
