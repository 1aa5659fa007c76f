#include "mainwindow/status_bar.h"

#include "mainwindow/app_globals.h"
#include "mainwindow/main_window_text.h"
#include "resource.h"

#include <commctrl.h>

HWND StatusBar = nullptr;

std::array<int, 2> StatusBarPartEdges(int clientWidth) {
    return {static_cast<int>(static_cast<long long>(clientWidth) * 88 / 100), clientWidth};
}

void CreateStatusBar() {
    // The main window registers only the list-view and progress-bar classes; the bar's class
    // comes from its own family.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);

    StatusBar = CreateWindowExW(
        0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, MainWindowHandle,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)), AppInstance, nullptr);
    RECT client = {};
    GetClientRect(MainWindowHandle, &client);
    std::array<int, 2> edges = StatusBarPartEdges(client.right);
    SendMessageW(StatusBar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    SendMessageW(StatusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(StatusReadyText));
    SendMessageW(StatusBar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(StatusVersionText));
}
