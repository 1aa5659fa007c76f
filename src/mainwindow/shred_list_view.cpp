#include "mainwindow/shred_list_view.h"

#include "job/list_view_text.h"
#include "mainwindow/file_system_probe.h"
#include "mainwindow/main_window_text.h"

#include <commctrl.h>

namespace {

LRESULT Send(HWND list, UINT message, WPARAM wParam, const void* lParam) {
    return SendMessageW(list, message, wParam, reinterpret_cast<LPARAM>(lParam));
}

void InsertColumn(HWND list, int subItem, const wchar_t* header, int width) {
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(header);
    column.iSubItem = subItem;
    Send(list, LVM_INSERTCOLUMNW, 0, &column);
}

} // namespace

int ListViewRows::Count() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

void ListViewRows::Insert(int index, const std::wstring& name) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = ShredColumnName;
    item.pszText = const_cast<wchar_t*>(name.c_str());
    Send(list_, LVM_INSERTITEMW, 0, &item);
}

void ListViewRows::SetText(int index, int column, const std::wstring& text) {
    SetListViewItemText(list_, index, column, text);
}

std::wstring ListViewRows::Text(int index, int column) const {
    return ListViewItemText(list_, index, column);
}

int ListViewRows::NextSelected(int start) const {
    return static_cast<int>(
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(start), LVNI_SELECTED));
}

void ListViewRows::Delete(int index) {
    SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void ListViewRows::DeleteAll() {
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
}

void SetUpShredList(HWND list) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, ShredListExtendedStyles);
    // Each goes in at position 0, so they stand as Name, Path, Size.
    InsertColumn(list, ShredColumnSize, SizeColumnHeader, 69);
    InsertColumn(list, ShredColumnPath, PathColumnHeader, 200);
    InsertColumn(list, ShredColumnName, NameColumnHeader, 113);
}

void AddShredListItem(const wchar_t* path, HWND list) {
    if (!path) {
        return;
    }
    ListViewRows rows(list);
    AddShredRow(rows, path, FileSystemProbe());
}

void RemoveSelectedShredListItems(HWND list) {
    ListViewRows rows(list);
    RemoveSelectedShredRows(rows);
}

void ClearShredList(HWND list) {
    ListViewRows rows(list);
    ClearShredRows(rows);
}
