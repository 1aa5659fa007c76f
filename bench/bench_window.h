// The real main window for the benchmark's programs, and what they need around it.
#pragma once

#include "handles/window_handle.h"
#include "handles/windows_hook.h"
#include "mainwindow/app_globals.h"
#include "mainwindow/main_dialog.h"
#include "resource.h"

#include <windows.h>

#include <commctrl.h>

// Closes the report of items not shredded as soon as it is shown, so that a run never waits for
// a person; the folder left behind is reported instead.
inline LRESULT CALLBACK CloseMessageBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (GetDlgItem(window, IDOK) && !GetDlgItem(window, IDC_PROGRESS_BAR)) {
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

inline void PumpPendingMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// What every program of the bench that shows the main window does first.
inline void StartBenchWindows() {
    AppInstance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
}

// The main window made from its template, on screen and painted.
inline WindowHandle OpenMainWindow() {
    WindowHandle main(
        CreateDialogParamW(AppInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialog, 0));
    if (main) {
        ShowWindow(main.Get(), SW_SHOW);
        UpdateWindow(main.Get());
        PumpPendingMessages();
    }
    return main;
}

// Closes every report box of the calling thread as soon as it is shown, while it lives.
inline WindowsHook CloseReportBoxes() {
    return WindowsHook(SetWindowsHookExW(WH_CBT, CloseMessageBoxes, nullptr, GetCurrentThreadId()));
}
