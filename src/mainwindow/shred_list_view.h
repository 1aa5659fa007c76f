// The shred list on the main window's list-view control (1013): the one owner of its rows, for
// the main window that fills it and for the job that works through it.
#pragma once

#include "job/shred_job_list.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// Row texts, which are also the control's columns.
enum ShredListColumn : int { ShredColumnName = 0, ShredColumnPath = 1, ShredColumnSize = 2 };

inline constexpr DWORD ShredListExtendedStyles = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP;

enum class AddOutcome {
    Added,
    // Not a usable full path (a relative path, forward slashes): no row the job could act on.
    NotAFullPath,
    // The path is listed, lies inside a listed folder, or names an item that a row names.
    AlreadyListed,
    // The item could not be opened to read its identity.
    Unreadable,
    // Its volume gives it no file id: the job could not tell it from another item.
    NoFileId,
    // Where its path led cannot be read (some shares, a folder on the way that cannot be read).
    NoFinalPath,
    // A volume's root on a drive that is neither fixed nor removable: its free space takes no row.
    NotALocalVolume,
    // The user chose not to list the free space of what may be flash storage.
    NotChosen,
};

// Each row carries the identity of its item, read when the row was added, in a record that the
// row's item data owns: it follows the row wherever removals move it, and goes with the row
// (ReleaseRowRecord, on LVN_DELETEITEM). The object itself holds only the window's handles, so
// any number of them may stand for one window. The job calls it from its worker thread too:
// every call is a synchronous message to the window's thread.
class ShredListView final : public ShredJobList {
public:
    // mainWindow: a window made from the main window's template.
    explicit ShredListView(HWND mainWindow);

    HWND Owner() const override { return window_; }
    int RowCount() const override;
    std::wstring RowPath(int row) const override;
    bool RowIdentity(int row, ItemId& id) const override;
    std::wstring RowFreeSpaceRoot(int row) const override;
    void SetRowItem(int row, const std::wstring& path, const ItemId& id) override;
    void DeleteRow(int row) override;
    // The first checked method button; "Random data", the window's own default, should none be.
    ShredMethod CheckedMethod() const override;
    void HoldDrawing(bool hold) override;

    // Extended styles and the columns "Name" (113), "Path" (200), "Size" (69) of a fresh list.
    void SetUp();
    // Appends a row for each path in turn, with where the path led (its final path), named by its
    // last component, with its size text. A row is added only for a usable full path whose
    // identity and final path can be read and that the list does not already hold (see
    // AddOutcome); a folder that holds listed rows is added after them. A volume's root adds the
    // row of its free space instead, once per volume, for a local volume only, and on flash
    // storage only when the user answers Yes to a box this window owns. The list is painted once,
    // at the end, with the first new row in view; a long add shows the wait cursor and refuses
    // input meanwhile (ListFilling).
    std::vector<AddOutcome> Add(const std::vector<std::wstring>& paths);
    // Every selected row, from the last one up; all at once when every row is selected.
    void RemoveSelected();
    void Clear();

    // Frees the record of a row that the control is deleting (NMLISTVIEW::lParam of
    // LVN_DELETEITEM); the window that owns the list must pass on every such notification.
    static void ReleaseRowRecord(LPARAM itemData);

private:
    HWND window_;
    HWND list_;
};
