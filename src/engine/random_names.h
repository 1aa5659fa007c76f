// Random names for the renames that hide an item's former name.
#pragma once

#include <windows.h>

#include <string>

enum class RandomNameKind { File, Folder };

// 13 letters 'a' to 'y', one draw each; a file's name has '.' in place of its eleventh letter
// (drawn all the same), a folder's has none.
std::wstring RandomName(RandomNameKind kind);

// Renames the open item ten times to random names in its own folder (open as folder), through
// its handle, never replacing anything that exists. Each rename draws its 13 letters whatever
// happens; path, the item's path, follows it only through renames that succeeded, so a refused
// or colliding rename leaves it where it is.
void RenameTenTimes(HANDLE item, HANDLE folder, std::wstring& path, RandomNameKind kind);
