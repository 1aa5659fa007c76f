#include "mainwindow/main_dialog.h"
#include "mainwindow/app_globals.h"

HINSTANCE AppInstance = nullptr;
HWND MainWindowHandle = nullptr;

INT_PTR CALLBACK MainDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        MainWindowHandle = dialog;
        return TRUE;
    }
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}
