// The shred list's rules, apart from any control: the size text of a row, and when a path names
// an item that the list already holds.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

inline constexpr std::wstring_view DirectorySizeText = L"<DIR>";

// Nearest whole number of 1024-byte units, halves rounded up; any non-empty file is at least 1.
long long SizeInKilobytes(long long bytes);
// "%lld KB" of SizeInKilobytes.
std::wstring SizeText(long long bytes);
// "<DIR>" for a folder's attribute data, otherwise SizeText of the size it gives.
std::wstring SizeTextOf(const WIN32_FILE_ATTRIBUTE_DATA& data);

// Two paths of the same spelling as Windows compares names: ordinal, ignoring case. Both are
// compared in their extended-length form, so "C:\a" and "\\?\C:\a" are the same path.
bool SamePath(const std::wstring& first, const std::wstring& second);
// The same path, or one that lies below folder (folder's path, a backslash, then more).
bool SameOrInside(const std::wstring& path, const std::wstring& folder);
// The path of the folder that holds the item at a usable full path; empty when that folder is a
// drive or share root.
std::wstring ParentOf(const std::wstring& path);
