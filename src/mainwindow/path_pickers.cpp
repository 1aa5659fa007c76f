#include "mainwindow/path_pickers.h"

#include "mainwindow/current_folder.h"
#include "mainwindow/main_window_text.h"

#include "handles/clipboard_scope.h"
#include "handoff/command_line_arguments.h"
#include "handles/co_task_memory.h"
#include "handles/global_lock.h"

#include <commdlg.h>
#include <knownfolders.h>

#include <string_view>

OpenFileNameFunction ShowOpenFileDialog = GetOpenFileNameW;

std::wstring DocumentsFolder() {
    // Freed even when the call fails, which may still hand out a block.
    CoTaskString folder;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, folder.Receive())) || !folder) {
        return std::wstring();
    }
    return std::wstring(folder.Get());
}

std::optional<std::wstring> PickFileToShred(HWND owner) {
    wchar_t path[MAX_PATH] = {};
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = OpenFileFilter;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OpenFileFlags;
    // Without a starting folder the dialog would open in the current one, which is the system
    // folder; given one, it still returns to the folder the user last chose in it.
    const std::wstring documents = DocumentsFolder();
    dialog.lpstrInitialDir = documents.empty() ? nullptr : documents.c_str();
    const CurrentFolderScope keep;
    if (!ShowOpenFileDialog(&dialog)) {
        return std::nullopt;
    }
    return std::wstring(path);
}

std::optional<std::wstring> FolderPathOf(PCIDLIST_ABSOLUTE list) {
    wchar_t path[MAX_PATH] = {};
    if (!list || !SHGetPathFromIDListW(list, path) || path[0] == L'\0') {
        return std::nullopt;
    }
    return std::wstring(path);
}

std::optional<std::wstring> PickFolderToShred(HWND owner) {
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW browse = {};
    browse.hwndOwner = owner;
    browse.pidlRoot = nullptr;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = FolderBrowserPrompt;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    const ShellItemIdList chosen(SHBrowseForFolderW(&browse));
    if (!chosen.Get()) {
        return std::nullopt;
    }
    // The display name the browser left is not a path; only the file-system path may go on.
    return FolderPathOf(chosen.Get());
}

namespace {

// The paths of a wide drop block, read in one pass: DragQueryFileW walks the list from its start
// for each index, which grows with the square of the count. Empty when the block is not a wide
// list that ends within it.
std::vector<std::wstring> WidePathsOf(HDROP drop) {
    const auto block = reinterpret_cast<HGLOBAL>(drop);
    const auto* header = static_cast<const DROPFILES*>(GlobalLock(block));
    if (!header) {
        return {};
    }
    const LockedGlobal locked(block);
    const SIZE_T size = GlobalSize(block);
    if (size < sizeof(DROPFILES) || !header->fWide || header->pFiles > size) {
        return {};
    }
    const auto* first =
        reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(header) + header->pFiles);
    const std::wstring_view list(first, (size - header->pFiles) / sizeof(wchar_t));
    std::vector<std::wstring> paths;
    for (std::size_t start = 0; start < list.size();) {
        const std::size_t end = list.find(L'\0', start);
        if (end == std::wstring_view::npos) {
            return {};
        }
        if (end == start) {
            return paths;
        }
        paths.emplace_back(list.substr(start, end - start));
        start = end + 1;
    }
    return {};
}

} // namespace

std::vector<std::wstring> DroppedPaths(HDROP drop) {
    if (std::vector<std::wstring> paths = WidePathsOf(drop); !paths.empty()) {
        return paths;
    }
    std::vector<std::wstring> paths;
    for (UINT index = 0;; ++index) {
        const UINT length = DragQueryFileW(drop, index, nullptr, 0);
        if (length == 0) {
            break;
        }
        std::wstring path(length, L'\0');
        const UINT copied = DragQueryFileW(drop, index, path.data(), length + 1);
        path.resize(copied < length ? copied : length);
        paths.push_back(std::move(path));
    }
    return paths;
}

std::vector<std::wstring> CommandLinePaths(const wchar_t* commandLine) {
    return CommandLineArguments(commandLine);
}

std::vector<std::wstring> ClipboardPaths(HWND owner) {
    const ClipboardScope clipboard(owner);
    if (!clipboard.Open()) {
        return {};
    }
    // The clipboard keeps the block: it is read, never released here.
    const auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    return drop ? DroppedPaths(drop) : std::vector<std::wstring>();
}
