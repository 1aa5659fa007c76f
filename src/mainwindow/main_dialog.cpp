#include "mainwindow/main_dialog.h"

#include "dialogs/about_dialog.h"
#include "dialogs/dialog_font_scaler.h"
#include "job/shred_job.h"
#include "mainwindow/app_globals.h"
#include "mainwindow/drop_message_filter.h"
#include "mainwindow/main_window_text.h"
#include "mainwindow/path_pickers.h"
#include "mainwindow/shred_list_view.h"
#include "mainwindow/status_bar.h"
#include "mainwindow/win_handles.h"
#include "resource.h"

#include <commctrl.h>
#include <objbase.h>

namespace {

HWND ShredListControl(HWND dialog) {
    return GetDlgItem(dialog, IDC_SHRED_LIST);
}

void SetWindowIcons(HWND dialog) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    const HICON smallIcon = LoadIconW(module, MAKEINTRESOURCEW(IDI_FERROLET));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    const HICON bigIcon = LoadIconW(module, MAKEINTRESOURCEW(IDI_FERROLET));
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
}

void OnInitDialog(HWND dialog) {
    MainWindowHandle = dialog;
    AllowDropMessages(dialog);
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    SetWindowTextW(dialog, MainWindowCaption);
    ScaleDialogIfNeeded(dialog);
    SetWindowIcons(dialog);
    CheckRadioButton(dialog, IDC_METHOD_FIRST, IDC_METHOD_LAST, IDC_METHOD_RANDOM);
    SetUpShredList(ShredListControl(dialog));
    CreateStatusBar();
}

void OnAddFile(HWND dialog) {
    if (const auto path = PickFileToShred(dialog)) {
        AddShredListItem(path->c_str(), ShredListControl(dialog));
    }
}

void OnAddFolder(HWND dialog) {
    if (const auto path = PickFolderToShred(dialog)) {
        AddShredListItem(path->c_str(), ShredListControl(dialog));
    }
}

void OnShredNow(HWND dialog) {
    if (SendMessageW(ShredListControl(dialog), LVM_GETITEMCOUNT, 0, 0) == 0) {
        MessageBoxW(dialog, NoFilesText, NoFilesCaption, MB_OK);
        return;
    }
    if (MessageBoxW(dialog, ConfirmShredText, ConfirmShredCaption, MB_YESNO) != IDYES) {
        return;
    }
    RunShredJob(dialog);
}

void OnAbout(HWND dialog) {
    DialogBoxParamW(AppInstance, MAKEINTRESOURCEW(IDD_ABOUT), dialog, AboutDialog, 0);
}

void OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_EXIT:
        EndDialog(dialog, 0);
        break;
    case IDC_ABOUT:
        OnAbout(dialog);
        break;
    case IDC_CLEAR_LIST:
        ClearShredList(ShredListControl(dialog));
        break;
    case IDC_ADD_FOLDER:
        OnAddFolder(dialog);
        break;
    case IDC_ADD_FILE:
        OnAddFile(dialog);
        break;
    case IDC_SHRED_NOW:
        OnShredNow(dialog);
        break;
    case IDC_REMOVE_ITEM:
        RemoveSelectedShredListItems(ShredListControl(dialog));
        break;
    default:
        break;
    }
}

void OnDropFiles(HWND dialog, HDROP drop) {
    const DropHandle owned(drop);
    for (const std::wstring& path : DroppedPaths(owned.Get())) {
        AddShredListItem(path.c_str(), ShredListControl(dialog));
    }
}

void OnClose(HWND dialog) {
    CoUninitialize();
    EndDialog(dialog, 0);
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    case WM_DROPFILES:
        OnDropFiles(dialog, reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_CLOSE:
        OnClose(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK MainDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    // Nothing may unwind into the dialog manager; a failed command simply does nothing more.
    try {
        return HandleMessage(dialog, message, wParam);
    } catch (...) {
        return TRUE;
    }
}
