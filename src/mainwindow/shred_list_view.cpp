#include "mainwindow/shred_list_view.h"

#include "mainwindow/file_system_probe.h"
#include "mainwindow/main_window_text.h"

#include <commctrl.h>

#include <vector>

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
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    Send(list_, LVM_SETITEMW, 0, &item);
}

std::wstring ListViewRows::Text(int index, int column) const {
    // The control copies at most cchTextMax - 1 characters; grow until the text fits.
    for (size_t capacity = MAX_PATH;; capacity *= 2) {
        std::vector<wchar_t> buffer(capacity, L'\0');
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(capacity);
        const auto length =
            static_cast<size_t>(Send(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), &item));
        if (length + 1 < capacity || capacity >= 65536) {
            return std::wstring(item.pszText, length);
        }
    }
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
