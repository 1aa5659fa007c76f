#include "engine/file_shredder.h"

#include "engine/chosen_item.h"
#include "engine/file_in_folder.h"
#include "engine/compression.h"
#include "engine/item_attributes.h"
#include "engine/item_checks.h"
#include "engine/long_path.h"
#include "engine/named_streams.h"
#include "engine/random_names.h"
#include "engine/stop_request.h"

#include <utility>

namespace {

// A file with several names is one set of data under each of them.
bool HasOtherNames(const ItemFacts& facts) {
    return facts.links > 1;
}

} // namespace

FileHandle OpenPlainFile(HANDLE folderHandle, const std::wstring& name, const ItemLocation& folder,
                         ItemFacts& facts, bool waitForHolder) {
    // No data access, so that a read-only file opens on Windows too; sharing data access lets
    // the data handle coexist with it, and a holder that refused deletion keeps it out unless it
    // lets go within the wait.
    constexpr DWORD Share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    FileHandle file = waitForHolder ? OpenEntryWhenFree(folderHandle, name, ItemAccess, Share)
                                    : OpenEntry(folderHandle, name, ItemAccess, Share);
    // Look before changing anything: a link's target must not even lose its attributes.
    ItemLocation location;
    if (!file.IsValid() ||
        IdentifyItem(file.Get(), folderHandle, name, folder, facts, location) !=
            ItemIdentity::Itself ||
        (facts.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return FileHandle();
    }
    return file;
}

int ShredFileInFolder(std::wstring& path, ShredMethod method, HANDLE folderHandle,
                      const ItemLocation& folder, ItemId* chosen) {
    ItemFacts facts;
    FileHandle file = OpenPlainFile(folderHandle, LastComponent(path), folder, facts, true);
    if (!file.IsValid()) {
        return ShredFileOpenFailed;
    }
    if (!IsChosenItem(file.Get(), chosen)) {
        return ShredFileNotTheChosen;
    }
    return ShredCheckedFile(std::move(file), facts, path, method, folderHandle, chosen);
}

int ShredCheckedFile(FileHandle file, const ItemFacts& facts, std::wstring& path,
                     ShredMethod method, HANDLE folderHandle, ItemId* chosen) {
    if (HasOtherNames(facts)) {
        return ShredFileHasOtherNames;
    }
    AttributesReset attributes(file.Get(), facts.attributes);
    FileHandle data = OpenDataStream(file.Get());
    if (!data.IsValid()) {
        return ShredFileOpenFailed;
    }
    HANDLE handle = data.Get();
    if (!StoreUncompressed(handle) || !OverwriteNamedStreams(file.Get(), method) ||
        !method(handle)) {
        return ShredFileOverwriteFailed;
    }
    FileSystem.SetFilePointer(handle, 0, nullptr, FILE_BEGIN);
    FileSystem.SetEndOfFile(handle);
    RenameTenTimes(file.Get(), folderHandle, path, RandomNameKind::File);
    if (!FileSystem.DeleteByHandle(file.Get())) {
        // Where the volume derives ids from the place of the name (FAT, exFAT), a rename may
        // have given the file another one, which the row needs to find it again.
        if (chosen != nullptr) {
            ReadItemId(file.Get(), *chosen);
        }
        return ShredFileDeleteFailed;
    }
    attributes.ItemRemoved();
    return ShredFileDeleted;
}

namespace {

int ShredFileAtPath(std::wstring& path, ShredMethod method) {
    if (method == nullptr || !IsUsableFullPath(path)) {
        return ShredFileOpenFailed;
    }
    ItemLocation folder;
    FileHandle folderHandle = OpenParentFolder(path, folder);
    if (!folderHandle.IsValid()) {
        return ShredFileOpenFailed;
    }
    return ShredFileInFolder(path, method, folderHandle.Get(), folder);
}

} // namespace

int ShredFile(std::wstring& path, ShredMethod method, ShredProgress& progress) {
    const StopRequestScope scope(&progress);
    progress.ShowName(LastComponent(path));
    const int result = ShredFileAtPath(path, method);
    progress.Step();
    return result;
}
