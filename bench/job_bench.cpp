// The whole job through the real main window against the engine alone, one measurement per call
// on a tree that bench/run.sh prepares afresh for each:
//   job_bench window METHOD FOLDER   the main window on screen as the job's owner, the folder as
//                                    its one row with the identity recorded as a pick does,
//                                    RunShredJob timed from its call to its return
//   job_bench engine METHOD FOLDER   ShredFolder on the calling thread, its progress counted
//   job_bench listed METHOD FOLDER   the main window's own list, the folder added as its one row
//   job_bench rows METHOD FOLDER     the main window's own list, every file below the folder
//                                    added as a row of its own (the folders stay behind, empty)
//   job_bench wipe METHOD ROOT       the main window's own list, a volume's root added as the row
//                                    of its free space (the flash question answered Yes)
// With profile after FOLDER, listed and rows print the time of each file-system operation per row.
// Prints "job mode=... seconds=... left=..." and exits 0 when every file is gone (the folder too,
// except in mode rows; in mode wipe, when the row left the list), and in mode wipe the free space
// before and after and the process's peak working set.
#include "bench_clock.h"
#include "bench_window.h"
#include "bench_methods.h"
#include "bench_profile.h"
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
#include <psapi.h>

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
// With profile, the time of each file-system operation per row is printed after the job.
double TimeListedJob(int method, const std::wstring& folder, bool fileRows, bool profile) {
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
    if (profile) {
        StartFileSystemProfile();
    }
    const int rows = list.RowCount();
    const Stopwatch watch;
    RunShredJob(list);
    const double seconds = watch.Seconds();
    if (profile) {
        StopFileSystemProfile(rows);
    }
    return seconds;
}

// Answers Yes to the flash storage question and closes any report, so that no box waits.
LRESULT CALLBACK AnswerYes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        const HWND yes = GetDlgItem(box, IDYES);
        if (yes) {
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                         reinterpret_cast<LPARAM>(yes));
        }
    }
    return CloseMessageBoxes(code, wParam, lParam);
}

constexpr double BytesPerMebibyte = 1024.0 * 1024.0;

// The free space of root wiped as the main window's one row; true when the row left the list.
bool TimeWipeJob(int method, const std::wstring& root, double& seconds) {
    const WindowHandle main = OpenMainWindow();
    if (!main) {
        std::fputs("job_bench: the main window could not be created\n", stderr);
        return false;
    }
    CheckRadioButton(main.Get(), IDC_METHOD_FIRST, IDC_METHOD_LAST, IDC_METHOD_FIRST + method);
    ShredListView list(main.Get());
    const WindowsHook answer(SetWindowsHookExW(WH_CBT, AnswerYes, nullptr, GetCurrentThreadId()));
    list.Add({root});
    PumpPendingMessages();
    if (list.RowCount() != 1 || list.RowFreeSpaceRoot(0).empty()) {
        std::fputs("job_bench: the root did not list as its free space\n", stderr);
        return false;
    }
    ULARGE_INTEGER before{};
    GetDiskFreeSpaceExW(root.c_str(), &before, nullptr, nullptr);
    PROCESS_MEMORY_COUNTERS memoryBefore{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memoryBefore, sizeof(memoryBefore));
    const Stopwatch watch;
    RunShredJob(list);
    seconds = watch.Seconds();
    PROCESS_MEMORY_COUNTERS memoryAfter{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memoryAfter, sizeof(memoryAfter));
    ULARGE_INTEGER after{};
    GetDiskFreeSpaceExW(root.c_str(), &after, nullptr, nullptr);
    std::printf("wipe free_bytes=%llu free_after=%llu workingset_before_mib=%.1f "
                "peak_workingset_mib=%.1f\n",
                before.QuadPart, after.QuadPart, memoryBefore.WorkingSetSize / BytesPerMebibyte,
                memoryAfter.PeakWorkingSetSize / BytesPerMebibyte);
    return list.RowCount() == 0;
}

double TimeEngine(int method, const std::wstring& folder) {
    std::wstring path = folder;
    QuietProgress progress;
    const Stopwatch watch;
    ShredFolder(path, ShredMethods[method], progress);
    return watch.Seconds();
}

int Run(int argc, wchar_t** argv) {
    const bool profile = argc == 5 && std::wstring(argv[4]) == L"profile";
    const int method = argc == 4 || profile ? BenchMethodIndex(argv[2]) : -1;
    const std::wstring mode = method >= 0 ? argv[1] : L"";
    if (method < 0 || (mode != L"window" && mode != L"engine" && mode != L"listed" &&
                       mode != L"rows" && mode != L"wipe")) {
        std::fputs("usage: job_bench window|engine|listed|rows|wipe METHOD FOLDER [profile]\n",
                   stderr);
        return 2;
    }
    StartBenchWindows();
    const std::wstring folder = argv[3];
    double seconds = 0.0;
    if (mode == L"wipe") {
        const bool wiped = TimeWipeJob(method, folder, seconds);
        std::printf("job mode=wipe seconds=%.6f left=%d\n", seconds, wiped ? 0 : 1);
        return wiped ? 0 : 1;
    }
    if (mode == L"window") {
        seconds = TimeWindowJob(method, folder);
    } else if (mode == L"engine") {
        seconds = TimeEngine(method, folder);
    } else {
        seconds = TimeListedJob(method, folder, mode == L"rows", profile);
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
