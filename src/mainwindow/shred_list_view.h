// The shred list on the main window's list-view control (1013).
#pragma once

#include "mainwindow/shred_list.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

// Maps the rows onto the control's items; text index = column index.
class ListViewRows final : public ShredRows {
public:
    explicit ListViewRows(HWND list) : list_(list) {}

    int Count() const override;
    void Insert(int index, const std::wstring& name) override;
    void SetText(int index, int column, const std::wstring& text) override;
    std::wstring Text(int index, int column) const override;
    int NextSelected(int start) const override;
    void Delete(int index) override;
    void DeleteAll() override;

private:
    HWND list_;
};

inline constexpr DWORD ShredListExtendedStyles = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP;

// Extended styles and the columns "Name" (113), "Path" (200), "Size" (69) of a fresh list.
void SetUpShredList(HWND list);
// Appends a row for path (a full path, NUL-terminated); anything but a full path is ignored.
void AddShredListItem(const wchar_t* path, HWND list);
void RemoveSelectedShredListItems(HWND list);
void ClearShredList(HWND list);
