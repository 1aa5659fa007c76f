#include "mainwindow/shred_list_view.h"

#include "engine/item_identity.h"
#include "engine/long_path.h"
#include "job/free_space_job.h"
#include "mainwindow/free_space_roots.h"
#include "mainwindow/free_space_text.h"
#include "mainwindow/item_readings.h"
#include "mainwindow/list_filling.h"
#include "mainwindow/list_view_text.h"
#include "mainwindow/listed_items.h"
#include "mainwindow/main_window_text.h"
#include "mainwindow/shred_list.h"
#include "resource.h"

#include <cwchar>
#include <functional>
#include <memory>
#include <vector>

namespace {

// What a row keeps beside its texts.
struct RowRecord {
    ItemId id;
    // A folder, a link, or an item whose attributes could not be read when it was added: a path
    // may lead through it.
    bool mayHoldItems = true;
    JobRowKind kind = JobRowKind::Item;
    // A free-space row: the volume's root and which volume that is.
    std::wstring freeSpaceRoot;
    std::wstring volumeKey;
};

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

const RowRecord* RecordOf(HWND list, int row) {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!Send(list, LVM_GETITEMW, 0, &item)) {
        return nullptr;
    }
    return reinterpret_cast<const RowRecord*>(item.lParam);
}

AddOutcome OutcomeOf(ItemReading reading) {
    switch (reading) {
    case ItemReading::Read:
        return AddOutcome::Added;
    case ItemReading::NoFileId:
        return AddOutcome::NoFileId;
    case ItemReading::NoFinalPath:
        return AddOutcome::NoFinalPath;
    case ItemReading::Unopenable:
        break;
    }
    return AddOutcome::Unreadable;
}

bool ListsVolume(HWND list, const std::wstring& volumeKey) {
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        const RowRecord* record = RecordOf(list, row);
        if (record && record->kind == JobRowKind::FreeSpace && record->volumeKey == volumeKey) {
            return true;
        }
    }
    return false;
}

std::wstring FreeSpacePathText(const std::wstring& root) {
    std::vector<wchar_t> text(std::wcslen(FreeSpacePathFormat) + root.size() + 1);
    std::swprintf(text.data(), text.size(), FreeSpacePathFormat, root.c_str());
    return text.data();
}

// The row of a volume's free space, named for it, its free space as its size.
AddOutcome AddFreeSpaceRow(HWND window, HWND list, const std::wstring& root) {
    if (!IsLocalVolume(root)) {
        return AddOutcome::NotALocalVolume;
    }
    auto record = std::make_unique<RowRecord>();
    record->mayHoldItems = false;
    record->kind = JobRowKind::FreeSpace;
    record->freeSpaceRoot = root;
    record->volumeKey = VolumeKeyOf(root);
    if (ListsVolume(list, record->volumeKey)) {
        return AddOutcome::AlreadyListed;
    }
    if (MayBeFlashStorage(root) && !ConfirmFlashFreeSpace(window, root)) {
        return AddOutcome::NotChosen;
    }
    const std::wstring name = FreeSpaceRowName(root);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.iSubItem = ShredColumnName;
    item.pszText = const_cast<wchar_t*>(name.c_str());
    item.lParam = reinterpret_cast<LPARAM>(record.get());
    const int row = static_cast<int>(Send(list, LVM_INSERTITEMW, 0, &item));
    if (row < 0) {
        return AddOutcome::Unreadable;
    }
    record.release();
    ULONGLONG freeBytes = 0;
    const bool known = ReadVolumeFreeSpace(root, freeBytes);
    SetListViewItemText(list, row, ShredColumnPath, FreeSpacePathText(root));
    SetListViewItemText(list, row, ShredColumnSize,
                        known ? SizeText(static_cast<long long>(freeBytes)) : std::wstring());
    return AddOutcome::Added;
}

// The first selected row after row; -1 gives the first of all, and the answer is -1 for none.
int NextSelected(HWND list, int row) {
    return static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
}

// Every row of the list, keyed for the "already listed" checks.
ListedItems IndexRows(const ShredListView& view, HWND list) {
    ListedItems listed;
    const int count = view.RowCount();
    for (int row = 0; row < count; ++row) {
        const RowRecord* record = RecordOf(list, row);
        listed.Insert(view.RowPath(row), record ? &record->id : nullptr,
                      record && record->mayHoldItems);
    }
    return listed;
}

} // namespace

ShredListView::ShredListView(HWND mainWindow)
    : window_(mainWindow), list_(GetDlgItem(mainWindow, IDC_SHRED_LIST)) {}

int ShredListView::RowCount() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ShredListView::RowPath(int row) const {
    return ListViewItemText(list_, row, ShredColumnPath);
}

bool ShredListView::RowIdentity(int row, ItemId& id) const {
    const RowRecord* record = RecordOf(list_, row);
    if (!record || record->kind != JobRowKind::Item) {
        return false;
    }
    id = record->id;
    return true;
}

std::wstring ShredListView::RowFreeSpaceRoot(int row) const {
    const RowRecord* record = RecordOf(list_, row);
    return record ? record->freeSpaceRoot : std::wstring();
}

void ShredListView::SetRowItem(int row, const std::wstring& path, const ItemId& id) {
    SetListViewItemText(list_, row, ShredColumnName, LastComponent(path));
    SetListViewItemText(list_, row, ShredColumnPath, path);
    // The record is the row's own, handed to the control when the row was added.
    if (const RowRecord* record = RecordOf(list_, row)) {
        const_cast<RowRecord*>(record)->id = id;
    }
}

void ShredListView::DeleteRow(int row) {
    SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

ShredMethod ShredListView::CheckedMethod() const {
    for (int id = IDC_METHOD_FIRST; id <= IDC_METHOD_LAST; ++id) {
        if (IsDlgButtonChecked(window_, id) != BST_UNCHECKED) {
            return ShredMethods[id - IDC_METHOD_FIRST];
        }
    }
    return ShredMethods[IDC_METHOD_RANDOM - IDC_METHOD_FIRST];
}

void ShredListView::HoldDrawing(bool hold) {
    if (hold) {
        StopListDrawing(list_);
    } else {
        RestartListDrawing(list_, -1);
    }
}

void ShredListView::SetUp() {
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, ShredListExtendedStyles);
    // Each goes in at position 0, so they stand as Name, Path, Size.
    InsertColumn(list_, ShredColumnSize, SizeColumnHeader, 69);
    InsertColumn(list_, ShredColumnPath, PathColumnHeader, 200);
    InsertColumn(list_, ShredColumnName, NameColumnHeader, 113);
}

std::vector<AddOutcome> ShredListView::Add(const std::vector<std::wstring>& paths) {
    // Read ahead from the start, while the listed rows are indexed.
    ItemReadings readings(paths);
    ListedItems listed = IndexRows(*this, list_);
    const int firstNew = RowCount();
    ListFilling filling(window_, list_);
    const std::function<void()> keepWindowAlive = [&filling] { filling.Tick(); };
    // Room for every row at once, where the control takes the hint.
    SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(firstNew) + paths.size(),
                 LVSICF_NOINVALIDATEALL);
    std::vector<AddOutcome> outcomes;
    outcomes.reserve(paths.size());
    for (std::size_t index = 0; index < paths.size(); ++index) {
        const std::wstring& given = paths[index];
        filling.Tick();
        if (const std::wstring root = VolumeRootOf(given); !root.empty()) {
            outcomes.push_back(AddFreeSpaceRow(window_, list_, root));
            continue;
        }
        if (!IsUsableFullPath(given)) {
            outcomes.push_back(AddOutcome::NotAFullPath);
            continue;
        }
        if (listed.HoldsPath(given)) {
            outcomes.push_back(AddOutcome::AlreadyListed);
            continue;
        }
        // The row holds where the path led, as the disk spells it: the job acts on what it shows.
        AddedItemReading read = readings.Take(index, keepWindowAlive);
        if (const AddOutcome outcome = OutcomeOf(read.reading); outcome != AddOutcome::Added) {
            outcomes.push_back(outcome);
            continue;
        }
        const std::wstring& path = read.finalPath;
        if (listed.HoldsPath(path) || listed.HoldsItem(read.id) || listed.HoldsAFolderOf(path)) {
            outcomes.push_back(AddOutcome::AlreadyListed);
            continue;
        }
        auto record = std::make_unique<RowRecord>();
        record->id = read.id;
        record->mayHoldItems =
            !read.hasAttributes || (read.attributes.dwFileAttributes &
                                    (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0;
        const std::wstring name = LastComponent(path);
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = RowCount();
        item.iSubItem = ShredColumnName;
        item.pszText = const_cast<wchar_t*>(name.c_str());
        item.lParam = reinterpret_cast<LPARAM>(record.get());
        const int row = static_cast<int>(Send(list_, LVM_INSERTITEMW, 0, &item));
        if (row < 0) {
            outcomes.push_back(AddOutcome::Unreadable);
            continue;
        }
        const RowRecord* const added = record.release();
        SetListViewItemText(list_, row, ShredColumnPath, path);
        SetListViewItemText(list_, row, ShredColumnSize,
                            read.hasAttributes ? SizeTextOf(read.attributes) : std::wstring());
        listed.Insert(path, &added->id, added->mayHoldItems);
        outcomes.push_back(AddOutcome::Added);
    }
    filling.Finish(RowCount() > firstNew ? firstNew : -1);
    return outcomes;
}

void ShredListView::RemoveSelected() {
    const int selected = static_cast<int>(SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0));
    if (selected <= 0) {
        return;
    }
    if (selected == RowCount()) {
        Clear();
        return;
    }
    std::vector<int> rows;
    for (int row = NextSelected(list_, -1); row >= 0; row = NextSelected(list_, row)) {
        rows.push_back(row);
    }
    // From the last one up: each deletion leaves the rows above it where they are, and moves
    // only the rows below it, of which there are fewest.
    ListFilling filling(window_, list_);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        filling.Tick();
        DeleteRow(*row);
    }
    filling.Finish(-1);
}

void ShredListView::Clear() {
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
}

void ShredListView::ReleaseRowRecord(LPARAM itemData) {
    delete reinterpret_cast<RowRecord*>(itemData);
}
