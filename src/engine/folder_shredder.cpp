#include "engine/folder_shredder.h"

#include "engine/file_in_folder.h"
#include "engine/file_shredder.h"
#include "engine/folder_checks.h"
#include "engine/handles.h"
#include "engine/item_checks.h"
#include "engine/long_path.h"
#include "engine/random_names.h"
#include "resource.h"

#include <commctrl.h>

#include <set>

namespace {

struct Walk {
    ShredMethod method;
    HWND& progress;
    const std::atomic<bool>* cancel;

    bool Cancelled() const { return cancel != nullptr && cancel->load(); }
    void ShowName(const std::wstring& name) const {
        SetDlgItemTextW(progress, IDC_PROGRESS_NAME, name.c_str());
    }
    void Step() const { SendDlgItemMessageW(progress, IDC_PROGRESS_BAR, PBM_STEPIT, 0, 0); }
};

enum class EntryOutcome { Destroyed, Left, Cancelled };
enum class WalkOutcome { Walked, Cancelled, NotListed };

FindHandle OpenListing(const std::wstring& path, WIN32_FIND_DATAW& entry) {
    return FindHandle(FileSystem.FindFirstFileW((ExtendedPath(path) + L"\\*").c_str(), &entry));
}

bool IsWalkedFolderEntry(const WIN32_FIND_DATAW& entry) {
    return !IsLinkEntry(entry.dwFileAttributes) &&
           (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int CountFolder(const std::wstring& path, const ItemLocation& folder) {
    ItemLocation location;
    if (IdentifyFolder(path, folder, location) != FolderIdentity::Folder) {
        return 1;
    }
    WIN32_FIND_DATAW entry{};
    FindHandle listing = OpenListing(path, entry);
    if (!listing.IsValid()) {
        return 1;
    }
    int count = 1;
    do {
        if (IsDotEntry(entry.cFileName)) {
            continue;
        }
        count +=
            IsWalkedFolderEntry(entry) ? CountFolder(JoinPath(path, entry.cFileName), location) : 1;
    } while (FileSystem.FindNextFileW(listing.Get(), &entry));
    return count;
}

int ShredFolderAt(std::wstring& path, const ItemLocation& folder, const Walk& walk);

EntryOutcome ShredEntry(std::wstring& entryPath, const WIN32_FIND_DATAW& entry,
                        const ItemLocation& folder, const Walk& walk) {
    if (IsWalkedFolderEntry(entry)) {
        switch (ShredFolderAt(entryPath, folder, walk)) {
        case ShredFolderRemoved:
            return EntryOutcome::Destroyed;
        case ShredFolderCancelled:
            return EntryOutcome::Cancelled;
        default:
            return EntryOutcome::Left;
        }
    }
    walk.ShowName(entry.cFileName);
    if (IsLinkEntry(entry.dwFileAttributes)) {
        walk.Step();
        return EntryOutcome::Left;
    }
    const int result = ShredFileInFolder(entryPath, walk.method, folder);
    walk.Step();
    return result == ShredFileDeleted || result == ShredFileNameRemoved ? EntryOutcome::Destroyed
                                                                        : EntryOutcome::Left;
}

WalkOutcome ShredEntries(const std::wstring& path, const ItemLocation& location, const Walk& walk) {
    WIN32_FIND_DATAW entry{};
    FindHandle listing = OpenListing(path, entry);
    if (!listing.IsValid()) {
        return WalkOutcome::NotListed;
    }
    // Items left in place under a new name must not come round again in the same listing.
    std::set<std::wstring> leftBehind;
    do {
        if (IsDotEntry(entry.cFileName) || leftBehind.contains(entry.cFileName)) {
            continue;
        }
        if (walk.Cancelled()) {
            return WalkOutcome::Cancelled;
        }
        std::wstring entryPath = JoinPath(path, entry.cFileName);
        switch (ShredEntry(entryPath, entry, location, walk)) {
        case EntryOutcome::Destroyed:
            break;
        case EntryOutcome::Left:
            leftBehind.insert(LastComponent(entryPath));
            break;
        case EntryOutcome::Cancelled:
            return WalkOutcome::Cancelled;
        }
    } while (FileSystem.FindNextFileW(listing.Get(), &entry));
    return WalkOutcome::Walked;
}

int ShredFolderAt(std::wstring& path, const ItemLocation& folder, const Walk& walk) {
    ItemLocation location;
    switch (IdentifyFolder(path, folder, location)) {
    case FolderIdentity::Folder:
        break;
    case FolderIdentity::Link:
        walk.ShowName(LastComponent(path));
        walk.Step();
        return ShredFolderNotListed;
    case FolderIdentity::Unreachable:
        return ShredFolderNotListed;
    }
    FileSystem.SetFileAttributesW(ExtendedPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    switch (ShredEntries(path, location, walk)) {
    case WalkOutcome::Walked:
        break;
    case WalkOutcome::Cancelled:
        return ShredFolderCancelled;
    case WalkOutcome::NotListed:
        return ShredFolderNotListed;
    }
    if (walk.Cancelled()) {
        return ShredFolderCancelled;
    }
    walk.ShowName(LastComponent(path));
    RenameTenTimes(path, RandomNameKind::Folder);
    const bool removed = FileSystem.RemoveDirectoryW(ExtendedPath(path).c_str()) != FALSE;
    walk.Step();
    return removed ? ShredFolderRemoved : ShredFolderIncomplete;
}

} // namespace

int CountShredItems(std::wstring path) {
    if (!IsUsableFullPath(path)) {
        return 1;
    }
    ItemLocation folder;
    return LocateParent(path, folder) ? CountFolder(path, folder) : 1;
}

int ShredFolder(std::wstring& path, ShredMethod method, HWND& progress,
                const std::atomic<bool>* cancel) {
    if (method == nullptr || !IsUsableFullPath(path)) {
        return ShredFolderNotListed;
    }
    ItemLocation folder;
    if (!LocateParent(path, folder)) {
        return ShredFolderNotListed;
    }
    const Walk walk{method, progress, cancel};
    return ShredFolderAt(path, folder, walk);
}
