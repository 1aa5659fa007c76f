#include "mainwindow/app_globals.h"
#include "mainwindow/drop_message_filter.h"
#include "mainwindow/main_dialog.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

// Every change of the main window's message filter, instead of the platform's.
struct FilterChange {
    HWND window;
    UINT message;
    DWORD action;
    bool hasStatus;
    bool operator==(const FilterChange&) const = default;
};
std::vector<FilterChange> filterChanges;

BOOL WINAPI RecordFilterChange(HWND window, UINT message, DWORD action,
                               PCHANGEFILTERSTRUCT status) {
    filterChanges.push_back(FilterChange{window, message, action, status != nullptr});
    return TRUE;
}

// Explorer runs with less integrity than the elevated program; a drop from it arrives only
// through these three holes in the window's filter, and nothing else may get through.
TEST(MainWindowMessageFilter, StartUpLetsExactlyADropsMessagesThrough) {
    filterChanges.clear();
    ChangeMessageFilter = RecordFilterChange;
    AppInstance = GetModuleHandleW(nullptr);
    const HWND dialog =
        CreateDialogParamW(AppInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialog, 0);
    ChangeMessageFilter = ChangeWindowMessageFilterEx;
    ASSERT_NE(nullptr, dialog);
    DestroyWindow(dialog);
    const std::vector<FilterChange> expected = {
        {dialog, WM_DROPFILES, MSGFLT_ALLOW, false},
        {dialog, WM_COPYDATA, MSGFLT_ALLOW, false},
        {dialog, 0x0049, MSGFLT_ALLOW, false},
    };
    EXPECT_EQ(expected, filterChanges);
}

} // namespace
