#include "job/main_window_job_list.h"
#include "engine/long_path.h"
#include "job/list_view_text.h"
#include "resource.h"

#include <commctrl.h>

namespace {

constexpr int NameColumn = 0;
constexpr int PathColumn = 1;

} // namespace

MainWindowJobList::MainWindowJobList(HWND mainWindow)
    : window_(mainWindow), list_(GetDlgItem(mainWindow, IDC_SHRED_LIST)) {}

int MainWindowJobList::RowCount() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring MainWindowJobList::RowPath(int row) const {
    return ListViewItemText(list_, row, PathColumn);
}

void MainWindowJobList::SetRowPath(int row, const std::wstring& path) {
    SetListViewItemText(list_, row, NameColumn, LastComponent(path));
    SetListViewItemText(list_, row, PathColumn, path);
}

void MainWindowJobList::DeleteRow(int row) {
    SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

ShredMethod MainWindowJobList::CheckedMethod() const {
    for (int id = IDC_METHOD_FIRST; id <= IDC_METHOD_LAST; ++id) {
        if (IsDlgButtonChecked(window_, id) != BST_UNCHECKED) {
            return ShredMethods[id - IDC_METHOD_FIRST];
        }
    }
    return ShredMethods[IDC_METHOD_RANDOM - IDC_METHOD_FIRST];
}
