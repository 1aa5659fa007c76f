#include "job/shred_list_rows.h"
#include "resource.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr int PathColumn = 1;
constexpr int NameColumn = 0;

void SetRowText(HWND list, int row, int column, const std::wstring& text) {
    std::vector<wchar_t> buffer(text.begin(), text.end());
    buffer.push_back(L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

} // namespace

HWND ShredListOf(HWND mainWindow) {
    return GetDlgItem(mainWindow, IDC_SHRED_LIST);
}

int ShredListRowCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ShredListRowPath(HWND list, int row) {
    // The list copies at most cchTextMax - 1 characters and returns how many it copied, so a
    // text that fills the buffer may have been cut: grow and ask again until it does not.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        LVITEMW item{};
        item.iSubItem = PathColumn;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        buffer[0] = L'\0';
        const auto copied = static_cast<std::size_t>(SendMessageW(
            list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (copied + 1 < buffer.size()) {
            buffer.back() = L'\0';
            return std::wstring(buffer.data());
        }
        buffer.resize(buffer.size() * 2);
    }
}

void SetShredListRowPath(HWND list, int row, const std::wstring& path) {
    SetRowText(list, row, NameColumn, ShredItemName(path));
    SetRowText(list, row, PathColumn, path);
}

void DeleteShredListRow(HWND list, int row) {
    SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

std::wstring ShredItemName(const std::wstring& path) {
    const auto slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 == path.size()) {
        return path;
    }
    return path.substr(slash + 1);
}
