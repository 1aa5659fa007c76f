// The whole job through the real main window against the engine alone, one measurement per call
// on a tree that bench/run.sh prepares afresh for each:
//   job_bench window METHOD FOLDER   the main window on screen as the job's owner, the folder as
//                                    its one row with the identity recorded as a pick does,
//                                    RunShredJob timed from its call to its return
//   job_bench engine METHOD FOLDER   ShredFolder on the calling thread, its progress counted
// Prints "job mode=... seconds=... left=..." and exits 0 when the folder is gone.
#include "bench_clock.h"
#include "bench_methods.h"
#include "bench_progress.h"
#include "engine/folder_shredder.h"
#include "handles/window_handle.h"
#include "handles/windows_hook.h"
#include "job/shred_job.h"
#include "mainwindow/app_globals.h"
#include "mainwindow/main_dialog.h"
#include "resource.h"
#include "support/stand_in_job_list.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

// Closes the report of items not shredded as soon as it is shown, so that a run never waits for
// a person; the folder left behind is reported instead.
LRESULT CALLBACK CloseMessageBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (GetDlgItem(window, IDOK) && !GetDlgItem(window, IDC_PROGRESS_BAR)) {
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void PumpPendingMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW((L"\\\\?\\" + path).c_str()) != INVALID_FILE_ATTRIBUTES;
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
    if (method < 0 || (mode != L"window" && mode != L"engine")) {
        std::fputs("usage: job_bench window|engine METHOD FOLDER\n", stderr);
        return 2;
    }
    AppInstance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    const std::wstring folder = argv[3];
    const double seconds =
        mode == L"window" ? TimeWindowJob(method, folder) : TimeEngine(method, folder);
    if (seconds < 0) {
        return 2;
    }
    const bool left = Exists(folder);
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
