// The main window's own texts: its caption, its message boxes, its status bar, its list's column
// headers and the texts it gives the folder browser and the open-file dialog.
#pragma once

// The caption, by which the Explorer menu's companion also finds the window.
#include "handoff/item_handoff.h"

inline constexpr const wchar_t* NoFilesCaption = L"No files";
inline constexpr const wchar_t* NoFilesText = L"You haven't entered any files to delete!";
inline constexpr const wchar_t* ConfirmShredCaption = L"Are you sure you want to continue?";
inline constexpr const wchar_t* ConfirmShredText =
    L"Are you sure you want to permanently delete these files and directories?";

inline constexpr const wchar_t* StatusReadyText = L"Ready";
inline constexpr const wchar_t* StatusVersionText = L"Version 1.0";

inline constexpr const wchar_t* NameColumnHeader = L"Name";
inline constexpr const wchar_t* PathColumnHeader = L"Path";
inline constexpr const wchar_t* SizeColumnHeader = L"Size";

inline constexpr const wchar_t* FolderBrowserPrompt = L"Please select a folder to shred:";
// Pairs of display text and pattern, each ending in a NUL, and a final NUL after the last pair.
inline constexpr wchar_t OpenFileFilter[] = L"All Files (*.*)\0*.*\0";

// Items whose identity could not be read when they were picked: one box names them all.
inline constexpr const wchar_t* ItemsNotAddedCaption = L"Items not added";
inline constexpr const wchar_t* ItemsNotAddedIntro =
    L"These items could not be opened, so they were not added to the list:";
// Shown after the names when more were refused than the box lists; %d is how many more.
inline constexpr const wchar_t* ItemsNotAddedMore = L"... and %d more";
inline constexpr const wchar_t* ItemsNotAddedCause =
    L"An item on a drive letter that was mapped for your own logon (a network drive, SUBST) "
    L"cannot be seen by this program, which runs as administrator: add it by its network path "
    L"instead (\\\\server\\share\\...).";
inline constexpr int ItemsNotAddedListed = 10;
