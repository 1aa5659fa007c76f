// The real main window, created modeless from template 102 with the real dialog procedure.
#pragma once

#include "mainwindow/app_globals.h"
#include "mainwindow/main_dialog.h"
#include "mainwindow/shred_list_view.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        AppInstance = GetModuleHandleW(nullptr);
        dialog =
            CreateDialogParamW(AppInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialog, 0);
        ASSERT_NE(nullptr, dialog) << "CreateDialogParamW failed, error " << GetLastError();
        list = GetDlgItem(dialog, IDC_SHRED_LIST);
        ASSERT_NE(nullptr, list);
    }
    void TearDown() override {
        if (dialog) {
            DestroyWindow(dialog);
        }
    }

    void Command(int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void Click(int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); }
    AddOutcome Add(const std::wstring& path) { return ShredListView(dialog).Add({path}).front(); }

    HWND dialog = nullptr;
    HWND list = nullptr;
};
