// The whole job through the real main window against the engine alone, one measurement per call
// on a tree that bench/run.sh prepares afresh for each:
//   job_bench window METHOD FOLDER   the main window on screen as the job's owner, the folder as
//                                    its one row with the identity recorded as a pick does,
//                                    RunShredJob timed from its call to its return
//   job_bench engine METHOD FOLDER   ShredFolder on the calling thread, its progress counted
//   job_bench listed METHOD FOLDER   the main window's own list, the folder added as its one row
//   job_bench rows METHOD FOLDER     the main window's own list, every file below the folder
//                                    added as a row of its own (the folders stay behind, empty)
// Prints "job mode=... seconds=... left=..." and exits 0 when every file is gone (the folder too,
// except in mode rows).
#include "bench_clock.h"
#include "bench_window.h"
#include "bench_methods.h"
#include "bench_progress.h"
#include "engine/folder_shredder.h"
#include "handles/window_handle.h"
#include "handles/windows_hook.h"
#include "job/shred_job.h"
#include "mainwindow/app_globals.h"
#include "mainwindow/shred_list_view.h"
#include "mainwindow/main_dialog.h"
#include "resource.h"
#include "support/stand_in_job_list.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool Exists(const std::wstring& path) {
    return GetFileAttributesW((L"\\\\?\\" + path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Every file below folder, folder by folder.
void CollectFiles(const std::wstring& folder, std::vector<std::wstring>& files) {
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW((L"\\\\?\\" + folder + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CollectFiles(folder + L"\\" + name, files);
        } else {
            files.push_back(folder + L"\\" + name);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

double TimeWindowJob(int method, const std::wstring& folder) {
    const WindowHandle main(
        CreateDialogParamW(AppInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialog, 0));
    if (!main) {
        std::fputs("job_bench: the main window could not be created\n", stderr);
        return -1.0;
    }
    ShowWindow(main.Get(), SW_SHOW);
    StandInJobList list(main.Get(), ShredMethods[method]);
    list.Add(folder);
    UpdateWindow(main.Get());
    PumpPendingMessages();
    const WindowsHook closer(
        SetWindowsHookExW(WH_CBT, CloseMessageBoxes, nullptr, GetCurrentThreadId()));
    const Stopwatch watch;
    RunShredJob(list);
    return watch.Seconds();
}

// The job of the main window's own list, holding the folder as one row or each of its files.
double TimeListedJob(int method, const std::wstring& folder, bool fileRows) {
    const WindowHandle main = OpenMainWindow();
    if (!main) {
        std::fputs("job_bench: the main window could not be created\n", stderr);
        return -1.0;
    }
    CheckRadioButton(main.Get(), IDC_METHOD_FIRST, IDC_METHOD_LAST, IDC_METHOD_FIRST + method);
    std::vector<std::wstring> paths;
    if (fileRows) {
        CollectFiles(folder, paths);
    } else {
        paths.push_back(folder);
    }
    ShredListView list(main.Get());
    const Stopwatch addWatch;
    list.Add(paths);
    const double addSeconds = addWatch.Seconds();
    PumpPendingMessages();
    std::printf("added rows=%d seconds=%.6f\n", list.RowCount(), addSeconds);
    const WindowsHook closer = CloseReportBoxes();
    const Stopwatch watch;
    RunShredJob(list);
    return watch.Seconds();
}

double TimeEngine(int method, const std::wstring& folder) {
    std::wstring path = folder;
    QuietProgress progress;
    const Stopwatch watch;
    ShredFolder(path, ShredMethods[method], progress);
    return watch.Seconds();
}

int Run(int argc, wchar_t** argv) {
    const int method = argc == 4 ? BenchMethodIndex(argv[2]) : -1;
    const std::wstring mode = argc == 4 ? argv[1] : L"";
    if (method < 0 ||
        (mode != L"window" && mode != L"engine" && mode != L"listed" && mode != L"rows")) {
        std::fputs("usage: job_bench window|engine|listed|rows METHOD FOLDER\n", stderr);
        return 2;
    }
    StartBenchWindows();
    const std::wstring folder = argv[3];
    double seconds = 0.0;
    if (mode == L"window") {
        seconds = TimeWindowJob(method, folder);
    } else if (mode == L"engine") {
        seconds = TimeEngine(method, folder);
    } else {
        seconds = TimeListedJob(method, folder, mode == L"rows");
    }
    if (seconds < 0) {
        return 2;
    }
    std::vector<std::wstring> files;
    CollectFiles(folder, files);
    const bool left = mode == L"rows" ? !files.empty() : Exists(folder);
    std::printf("job mode=%ls seconds=%.6f left=%d\n", mode.c_str(), seconds, left ? 1 : 0);
    return left ? 1 : 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        return Run(argc, argv);
    } catch (...) {
        std::fputs("job_bench: unexpected failure\n", stderr);
        return 2;
    }
}
