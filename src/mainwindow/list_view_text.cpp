#include "mainwindow/list_view_text.h"

#include <commctrl.h>

#include <climits>
#include <cstddef>
#include <vector>

std::wstring ListViewItemText(HWND list, int row, int column) {
    // The control copies at most cchTextMax - 1 characters and returns how many it copied, so a
    // text that fills the buffer may have been cut: grow and ask again until it does not.
    for (std::size_t capacity = MAX_PATH;; capacity *= 2) {
        std::vector<wchar_t> buffer(capacity, L'\0');
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(capacity);
        const auto copied = static_cast<std::size_t>(SendMessageW(
            list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (copied + 1 < capacity) {
            // The control may point pszText at its own copy instead of filling the buffer.
            return std::wstring(item.pszText ? item.pszText : buffer.data(), copied);
        }
        if (capacity > INT_MAX / 2) {
            return std::wstring(buffer.data(), capacity - 1);
        }
    }
}

void SetListViewItemText(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}
