// Where the main window's paths come from: the open-file dialog, the folder browser, a drop, the
// command line and the clipboard.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commdlg.h>

#include <optional>
#include <string>
#include <vector>

// A shortcut chosen in the open-file dialog is itself the item, never the file it points to.
inline constexpr DWORD OpenFileFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_NODEREFERENCELINKS;

// How the open-file dialog is shown; GetOpenFileNameW unless a test puts something else here.
using OpenFileNameFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);
extern OpenFileNameFunction ShowOpenFileDialog;

// The user's documents folder, where the open-file dialog starts; empty when unknown.
std::wstring DocumentsFolder();
// One existing file chosen in the open-file dialog, which starts in DocumentsFolder(); empty when
// cancelled or failed.
std::optional<std::wstring> PickFileToShred(HWND owner);
// One file-system folder chosen in the folder browser; empty when cancelled, or when the
// chosen item has no file-system path.
std::optional<std::wstring> PickFolderToShred(HWND owner);
// The file-system path of an item identifier list; empty when it has none.
std::optional<std::wstring> FolderPathOf(PCIDLIST_ABSOLUTE list);
// Every dropped path in the order of the drop, each whole, however long.
std::vector<std::wstring> DroppedPaths(HDROP drop);
// Every argument after the program's own name. A double quote cannot occur in a Windows name, so
// each one turns quoting on or off, and a backslash is always itself: "D:\" "E:\x" gives D:\ and
// E:\x, where CommandLineToArgvW would read the backslash as escaping the quote. Spaces and tabs
// outside quotes separate arguments.
std::vector<std::wstring> CommandLinePaths(const wchar_t* commandLine);
// The files and folders of the clipboard's CF_HDROP, in their order; empty when it holds none or
// cannot be opened.
std::vector<std::wstring> ClipboardPaths(HWND owner);
