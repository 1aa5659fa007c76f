// Where the main window's paths come from: the open-file dialog, the folder browser and a drop.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

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
