// "Shred with Ferrolet" in Explorer's menu of every file and folder, for the current user only.
#pragma once

#include <windows.h>

#include <string>

// Where the entry lives, under HKEY_CURRENT_USER, and the keys above it that the install may make.
inline constexpr const wchar_t* FilesAndFoldersKey = L"Software\\Classes\\AllFilesystemObjects";
inline constexpr const wchar_t* VerbsKey = L"Software\\Classes\\AllFilesystemObjects\\shell";
// The verb's key name, prefixed with the program's, and its command's key below it.
inline constexpr const wchar_t* VerbName = L"Ferrolet.Shred";
inline constexpr const wchar_t* VerbKey =
    L"Software\\Classes\\AllFilesystemObjects\\shell\\Ferrolet.Shred";
inline constexpr const wchar_t* VerbCommandKey =
    L"Software\\Classes\\AllFilesystemObjects\\shell\\Ferrolet.Shred\\command";
inline constexpr const wchar_t* VerbText = L"Shred with Ferrolet";
// Without it Explorer hides the entry above 15 selected items; with it a command verb shows for up
// to 100, one process each.
inline constexpr const wchar_t* MultiSelectModelValue = L"MultiSelectModel";
inline constexpr const wchar_t* MultiSelectModelPlayer = L"Player";
inline constexpr const wchar_t* IconValue = L"Icon";

// The option before the items of the entry's command and of the Send To shortcut.
inline constexpr const wchar_t* AddItemsOption = L"--add";

// The entry's command: the companion with the one item Explorer puts in place of %1.
std::wstring VerbCommand(const std::wstring& companionPath);

// Writes the entry; ERROR_SUCCESS or the first failure (then nothing of it stays).
LONG InstallMenuEntry(const std::wstring& companionPath, const std::wstring& ferroletPath);
// Removes the entry and the keys above it that are left empty; ERROR_SUCCESS also when there was
// none.
LONG RemoveMenuEntry();
