// The shred list at scale through the real main window, on a folder that bench/run.sh fills:
//   list_bench FOLDER   every file of the folder put on the clipboard as CF_HDROP, as Ctrl+C in
//                       Explorer gives them, and pasted into a fresh main window by its paste
//                       command; then the rows taken for a job and brought up to date after it as
//                       a job leaves them (every second row's item destroyed, every other one
//                       moved to a new name); then every second row of those left selected and
//                       removed with "&Remove Item", then the rest selected and removed
// Paste and removals are timed from the command to the window painted again. First, for
// reference, the engine's identity read of every file alone, which each added item needs (the
// file system's part). Prints "identities items=... seconds=...", "paste items=... rows=...
// seconds=...", "take rows=... seconds=...", "reconcile rows=... seconds=...", "remove_half
// rows=... seconds=..." and "remove_all rows=... seconds=..."; exits 0 when every file was
// listed and every row removed.
#include "bench_clock.h"
#include "bench_window.h"
#include "engine/item_identity.h"
#include "job/job_rows.h"
#include "job/shred_job.h"
#include "mainwindow/shred_list_view.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return files;
    }
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            files.push_back(folder + L"\\" + entry.cFileName);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return files;
}

// The paths as one CF_HDROP block: a DROPFILES header, each path with its NUL, one more NUL.
bool PutOnClipboard(HWND owner, const std::vector<std::wstring>& paths) {
    std::size_t units = 1;
    for (const std::wstring& path : paths) {
        units += path.size() + 1;
    }
    const HGLOBAL block =
        GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + units * sizeof(wchar_t));
    if (!block) {
        return false;
    }
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(header + 1);
    for (const std::wstring& path : paths) {
        std::memcpy(text, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        text += path.size() + 1;
    }
    GlobalUnlock(block);
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_HDROP, block) != nullptr;
    CloseClipboard();
    if (!placed) {
        GlobalFree(block);
    }
    return placed;
}

int RowCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// Selects every row whose index is a multiple of step, and no other.
void SelectEvery(HWND list, int step) {
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    LVITEMW selected{};
    selected.stateMask = LVIS_SELECTED;
    selected.state = LVIS_SELECTED;
    for (int row = 0; row < RowCount(list); row += step) {
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&selected));
    }
}

// The command sent as its button sends it, then the window's paint.
double TimeCommand(HWND main, int command) {
    const Stopwatch watch;
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    UpdateWindow(main);
    PumpPendingMessages();
    return watch.Seconds();
}

int Run(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: list_bench FOLDER\n", stderr);
        return 2;
    }
    // Each figure as soon as it is taken: a run of many items is long.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    StartBenchWindows();
    const std::vector<std::wstring> files = FilesIn(argv[1]);
    const WindowHandle main = OpenMainWindow();
    if (!main.Get() || !PutOnClipboard(main.Get(), files)) {
        std::fputs("list_bench: no main window, or the clipboard refused the files\n", stderr);
        return 2;
    }
    const HWND list = GetDlgItem(main.Get(), IDC_SHRED_LIST);
    const Stopwatch identityWatch;
    for (const std::wstring& file : files) {
        ItemId id;
        ReadItemIdAtPath(file, id);
    }
    std::printf("identities items=%zu seconds=%.6f\n", files.size(), identityWatch.Seconds());
    const double pasted = TimeCommand(main.Get(), IDM_PASTE_ITEMS);
    const int listed = RowCount(list);
    std::printf("paste items=%zu rows=%d seconds=%.6f\n", files.size(), listed, pasted);
    ShredListView view(main.Get());
    const Stopwatch takeWatch;
    std::vector<JobRow> rows = TakeJobRows(view);
    std::printf("take rows=%zu seconds=%.6f\n", rows.size(), takeWatch.Seconds());
    for (std::size_t index = 0; index < rows.size(); ++index) {
        rows[index].state = RowState::Reached;
        rows[index].destroyed = index % 2 == 0;
        rows[index].currentPath = rows[index].originalPath + L".moved";
    }
    const Stopwatch reconcileWatch;
    ReconcileListedRows(view, rows, false);
    UpdateWindow(main.Get());
    PumpPendingMessages();
    std::printf("reconcile rows=%zu seconds=%.6f\n", rows.size(), reconcileWatch.Seconds());
    const int kept = RowCount(list);
    SelectEvery(list, 2);
    const double half = TimeCommand(main.Get(), IDC_REMOVE_ITEM);
    const int rest = RowCount(list);
    std::printf("remove_half rows=%d seconds=%.6f\n", kept - rest, half);
    SelectEvery(list, 1);
    const double all = TimeCommand(main.Get(), IDC_REMOVE_ITEM);
    std::printf("remove_all rows=%d seconds=%.6f\n", rest - RowCount(list), all);
    return listed == static_cast<int>(files.size()) && RowCount(list) == 0 ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        return Run(argc, argv);
    } catch (...) {
        std::fputs("list_bench: unexpected failure\n", stderr);
        return 2;
    }
}
