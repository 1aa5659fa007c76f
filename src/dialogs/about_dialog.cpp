#include "dialogs/about_dialog.h"

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}
