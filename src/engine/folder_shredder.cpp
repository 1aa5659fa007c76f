#include "engine/folder_shredder.h"

#include "engine/chosen_item.h"
#include "engine/file_in_folder.h"
#include "engine/file_shredder.h"
#include "engine/folder_checks.h"
#include "engine/handles.h"
#include "engine/item_attributes.h"
#include "engine/item_checks.h"
#include "engine/link_removal.h"
#include "engine/long_path.h"
#include "engine/named_streams.h"
#include "engine/random_names.h"
#include "engine/stop_request.h"

#include <set>
#include <vector>

namespace {

// One open level of the walk, kept on the heap so that the depth of a tree costs no stack: the
// folder's handle, its attributes (given back if it stays), where its listing stands, how long
// its parent's path and location are, and the items it leaves behind under new names, which must
// not come round again in the same listing.
struct Level {
    FileHandle folder;
    AttributesReset attributes;
    FolderListing listing;
    std::size_t parentPathLength;
    std::size_t parentLocationLength;
    std::set<std::wstring> leftBehind;
};

// Counting needs only the open folder, its listing and its parent's location length.
struct CountLevel {
    FileHandle folder;
    FolderListing listing;
    std::size_t parentLocationLength;
};

constexpr DWORD CountAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES;

class FolderWalk {
public:
    FolderWalk(std::wstring& path, ShredMethod method, ShredProgress& progress, HANDLE rowFolder,
               const ItemLocation& rowLocation, ItemId* chosen)
        : path_(path), method_(method), progress_(progress), rowFolder_(rowFolder),
          location_(rowLocation), chosen_(chosen) {}

    int Run();

private:
    enum class Entered { Walking, Link, Unreachable, NotTheChosen };

    HANDLE ParentOfTop() const {
        return levels_.size() > 1 ? levels_[levels_.size() - 2].folder.Get() : rowFolder_;
    }
    Entered Enter(HANDLE parent, const std::wstring& name, LONGLONG listedId,
                  std::size_t parentPathLength);
    // Closes the innermost level; the item left under its current name in its parent, if any.
    void Leave(bool left);
    void ShredEntry(const ListedEntry& entry);
    int FinishTop();
    int Unwind(int result);

    std::wstring& path_;
    ShredMethod method_;
    ShredProgress& progress_;
    HANDLE rowFolder_;
    // Where the innermost open folder is (its parent's before the first); each level's location
    // extends its parent's, so leaving one only shortens it.
    ItemLocation location_;
    // The identity the row's folder must have, when the row recorded one; its identity after
    // renames that left it in place.
    ItemId* chosen_;
    std::vector<Level> levels_;
};

FolderWalk::Entered FolderWalk::Enter(HANDLE parent, const std::wstring& name, LONGLONG listedId,
                                      std::size_t parentPathLength) {
    FileHandle folder;
    ItemLocation location;
    DWORD attributes = 0;
    switch (
        OpenFolder(parent, name, location_, listedId, FolderAccess, folder, location, attributes)) {
    case FolderIdentity::Folder:
        break;
    case FolderIdentity::Link:
        return Entered::Link;
    case FolderIdentity::Unreachable:
        return Entered::Unreachable;
    }
    // Before its attributes are reset: another folder than the chosen one is not touched at all.
    if (levels_.empty() && !IsChosenItem(folder.Get(), chosen_)) {
        return Entered::NotTheChosen;
    }
    const std::size_t parentLocationLength = location_.path.size();
    location_ = std::move(location);
    AttributesReset reset(folder.Get(), attributes);
    levels_.push_back(Level{std::move(folder), std::move(reset), FolderListing(), parentPathLength,
                            parentLocationLength, std::set<std::wstring>()});
    return Entered::Walking;
}

void FolderWalk::Leave(bool left) {
    const std::wstring name = LastComponent(path_);
    path_.resize(levels_.back().parentPathLength);
    location_.path.resize(levels_.back().parentLocationLength);
    levels_.pop_back();
    if (!levels_.empty() && left) {
        levels_.back().leftBehind.insert(name);
    }
}

void FolderWalk::ShredEntry(const ListedEntry& entry) {
    Level& level = levels_.back();
    std::wstring entryPath = JoinPath(path_, entry.name);
    if (IsWalkedFolderEntry(entry)) {
        const std::size_t parentPathLength = path_.size();
        switch (Enter(level.folder.Get(), entry.name, entry.fileId, parentPathLength)) {
        case Entered::Walking:
            path_ = std::move(entryPath);
            return;
        case Entered::Link:
            progress_.ShowName(entry.name);
            progress_.Step();
            break;
        case Entered::Unreachable:
        case Entered::NotTheChosen:
            break;
        }
        level.leftBehind.insert(entry.name);
        return;
    }
    progress_.ShowName(entry.name);
    if (IsLinkEntry(entry.attributes)) {
        const bool removed =
            IsNameSurrogate(entry.reparseTag) && RemoveLink(level.folder.Get(), entry.name);
        progress_.Step();
        if (!removed) {
            level.leftBehind.insert(entry.name);
        }
        return;
    }
    const int result = ShredFileInFolder(entryPath, method_, level.folder.Get(), location_);
    progress_.Step();
    if (result != ShredFileDeleted) {
        level.leftBehind.insert(LastComponent(entryPath));
    }
}

// The innermost folder's walk is done: its shown name, its own named streams, ten renames,
// removal and step.
int FolderWalk::FinishTop() {
    Level& level = levels_.back();
    progress_.ShowName(LastComponent(path_));
    // Its streams would be freed unwritten with it: one that cannot be listed or written keeps
    // the folder where it is.
    const bool streamsWritten = OverwriteNamedStreams(level.folder.Get(), method_);
    // Delete access only now, through a handle of its own checked to be the folder walked: held
    // by the walk, it would keep every rename inside the folder out. Held elsewhere without shared
    // deletion, no right to remove it, or no longer the folder walked: it stays under its name.
    const FileHandle removable =
        streamsWritten ? OpenFolderToRemove(ParentOfTop(), LastComponent(path_), level.folder.Get())
                       : FileHandle();
    bool removed = false;
    if (removable.IsValid()) {
        RenameTenTimes(removable.Get(), ParentOfTop(), path_, RandomNameKind::Folder);
        removed = FileSystem.DeleteByHandle(removable.Get()) != FALSE;
        // Where the volume derives ids from the place of the name (FAT, exFAT), a rename may
        // have given the chosen folder another one, which the row needs to find it again.
        if (!removed && levels_.size() == 1 && chosen_ != nullptr) {
            ReadItemId(removable.Get(), *chosen_);
        }
    } else {
        // Its ten renames fail, their names drawn all the same, so that the names of everything
        // after it do not depend on it.
        for (int rename = 0; rename < 10; ++rename) {
            RandomName(RandomNameKind::Folder);
        }
    }
    if (removed) {
        level.attributes.ItemRemoved();
    }
    progress_.Step();
    return removed ? ShredFolderRemoved : ShredFolderIncomplete;
}

// Closes every open level, innermost first, each keeping its name and attributes.
int FolderWalk::Unwind(int result) {
    while (levels_.size() > 1) {
        path_.resize(levels_.back().parentPathLength);
        levels_.pop_back();
    }
    levels_.clear();
    return result;
}

int FolderWalk::Run() {
    switch (Enter(rowFolder_, LastComponent(path_), 0, DirectoryPart(path_).size() - 1)) {
    case Entered::Walking:
        break;
    case Entered::Link:
        progress_.ShowName(LastComponent(path_));
        progress_.Step();
        return ShredFolderNotListed;
    case Entered::Unreachable:
        return ShredFolderNotListed;
    case Entered::NotTheChosen:
        return ShredFolderNotTheChosen;
    }
    ListedEntry entry;
    for (;;) {
        Level& level = levels_.back();
        if (!level.listing.Next(level.folder.Get(), entry)) {
            const bool refused = level.listing.Refused();
            if (!refused && progress_.StopRequested()) {
                return Unwind(ShredFolderCancelled);
            }
            const int result = refused ? ShredFolderNotListed : FinishTop();
            if (levels_.size() == 1) {
                levels_.pop_back();
                return result;
            }
            Leave(result != ShredFolderRemoved);
            continue;
        }
        if (IsDotEntry(entry.name) || level.leftBehind.contains(entry.name)) {
            continue;
        }
        if (progress_.StopRequested()) {
            return Unwind(ShredFolderCancelled);
        }
        ShredEntry(entry);
    }
}

int CountFolder(HANDLE rowFolder, const std::wstring& name, ItemLocation location) {
    std::vector<CountLevel> levels;
    auto enter = [&](HANDLE parent, const std::wstring& entryName, LONGLONG listedId) {
        FileHandle folder;
        ItemLocation found;
        DWORD attributes = 0;
        if (OpenFolder(parent, entryName, location, listedId, CountAccess, folder, found,
                       attributes) == FolderIdentity::Folder) {
            const std::size_t parentLocationLength = location.path.size();
            location = std::move(found);
            levels.push_back(CountLevel{std::move(folder), FolderListing(), parentLocationLength});
        }
    };
    int count = 1;
    enter(rowFolder, name, 0);
    ListedEntry entry;
    while (!levels.empty()) {
        CountLevel& level = levels.back();
        if (!level.listing.Next(level.folder.Get(), entry)) {
            location.path.resize(level.parentLocationLength);
            levels.pop_back();
            continue;
        }
        if (IsDotEntry(entry.name)) {
            continue;
        }
        ++count;
        if (IsWalkedFolderEntry(entry)) {
            enter(level.folder.Get(), entry.name, entry.fileId);
        }
    }
    return count;
}

} // namespace

int CountShredItems(std::wstring path) {
    if (!IsUsableFullPath(path)) {
        return 1;
    }
    ItemLocation folder;
    FileHandle parent = OpenParentFolder(path, folder);
    return parent.IsValid() ? CountFolder(parent.Get(), LastComponent(path), folder) : 1;
}

int ShredFolderInFolder(std::wstring& path, ShredMethod method, ShredProgress& progress,
                        HANDLE parent, const ItemLocation& parentLocation, ItemId* chosen) {
    const StopRequestScope scope(&progress);
    FolderWalk walk(path, method, progress, parent, parentLocation, chosen);
    return walk.Run();
}

int ShredFolder(std::wstring& path, ShredMethod method, ShredProgress& progress) {
    if (method == nullptr || !IsUsableFullPath(path)) {
        return ShredFolderNotListed;
    }
    ItemLocation folder;
    FileHandle parent = OpenParentFolder(path, folder);
    if (!parent.IsValid()) {
        return ShredFolderNotListed;
    }
    return ShredFolderInFolder(path, method, progress, parent.Get(), folder, nullptr);
}
