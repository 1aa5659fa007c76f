#include "mainwindow/list_filling.h"

#include <commctrl.h>

namespace {

// The window whose list a long change is filling; there is one at a time, on this thread.
HWND busyWindow = nullptr;

void ShowWaitCursor() {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

} // namespace

ListFilling::ListFilling(HWND window, HWND list)
    : window_(window), list_(list), start_(GetTickCount64()), lastRead_(start_) {
    StopListDrawing(list_);
}

ListFilling::~ListFilling() {
    Finish(-1);
}

void ListFilling::Finish(int rowInView) {
    if (finished_) {
        return;
    }
    finished_ = true;
    RestartListDrawing(list_, rowInView);
    if (!busy_) {
        return;
    }
    busyWindow = nullptr;
    if (disabled_) {
        EnableWindow(window_, TRUE);
        if (focus_ && IsWindow(focus_) && GetForegroundWindow() == window_) {
            SetFocus(focus_);
        }
    }
    // Until the pointer moves and the window under it asks for its own.
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void ListFilling::Tick() {
    const ULONGLONG now = GetTickCount64();
    if (!busy_ && now - start_ >= ListFillingMomentMs) {
        StartBusy();
    }
    if (busy_ && now - lastRead_ >= ListFillingPumpMs) {
        lastRead_ = now;
        ReadMessages();
    }
}

void ListFilling::StartBusy() {
    busy_ = true;
    busyWindow = window_;
    focus_ = GetFocus();
    // EnableWindow answers whether the window was disabled before.
    disabled_ = !EnableWindow(window_, FALSE);
    ShowWaitCursor();
}

void ListFilling::ReadMessages() {
    MSG message = {};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // For the loop that owns the thread, once the change is done.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void StopListDrawing(HWND list) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
}

void RestartListDrawing(HWND list, int rowInView) {
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    if (rowInView >= 0) {
        SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(rowInView), FALSE);
    }
    RedrawWindow(list, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool ShowListFillingCursor(HWND window) {
    if (!busyWindow || window != busyWindow) {
        return false;
    }
    ShowWaitCursor();
    return true;
}
