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

// Items that were given but not added: one box names them all, each with its reason.
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
// Between an item and its reason.
inline constexpr const wchar_t* ItemsNotAddedReasonSeparator = L" \u2014 ";
inline constexpr const wchar_t* NotAFullPathReason =
    L"a full path is needed, with backslashes (like C:\\folder\\file.txt)";
inline constexpr const wchar_t* AlreadyListedReason = L"already in the list";
inline constexpr const wchar_t* UnreadableReason = L"cannot be opened";
inline constexpr const wchar_t* NoFileIdReason =
    L"its drive gives it no file id, so it cannot be told from other items";
inline constexpr const wchar_t* NoFinalPathReason =
    L"where this path leads cannot be read (a network share, or a folder on the way that cannot "
    L"be read)";
