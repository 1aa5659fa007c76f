#include "engine/chosen_item.h"

#include "engine/file_in_folder.h"
#include "engine/file_shredder.h"
#include "engine/folder_shredder.h"
#include "engine/long_path.h"
#include "engine/stop_request.h"

#include <utility>

bool IsChosenItem(HANDLE item, const ItemId* chosen) {
    ItemId id;
    return chosen == nullptr || (ReadItemId(item, id) && id == *chosen);
}

namespace {

ChosenItemResult FileResult(int result) {
    switch (result) {
    case ShredFileDeleted:
        return ChosenItemResult::Destroyed;
    case ShredFileNotTheChosen:
        return ChosenItemResult::NotTheChosen;
    default:
        return ChosenItemResult::NotDestroyed;
    }
}

// The common case of a job of many rows: a plain file of the held folder, checked on the handle
// that shreds it. Anything else (a folder, a link, a file that cannot be opened so now) is left
// to the full way, untouched, and result is not set.
bool ShredPlainFile(std::wstring& path, ItemId& chosen, ShredMethod method, ShredProgress& progress,
                    const HeldFolder& folder, ChosenItemResult& result) {
    const std::wstring name = LastComponent(path);
    ItemFacts facts;
    FileHandle file = OpenPlainFile(folder.Handle(), name, folder.Location(), facts, false);
    if (!file.IsValid()) {
        return false;
    }
    if (!folder.IsChosen(file.Get(), chosen)) {
        result = ChosenItemResult::NotTheChosen;
        return true;
    }
    progress.ShowName(name);
    result = FileResult(
        ShredCheckedFile(std::move(file), facts, path, method, folder.Handle(), &chosen));
    progress.Step();
    return true;
}

} // namespace

ChosenItemResult ShredChosenItem(std::wstring& path, ItemId& chosen, ShredMethod method,
                                 ShredProgress& progress) {
    HeldFolder folder;
    return ShredChosenItem(path, chosen, method, progress, folder);
}

ChosenItemResult ShredChosenItem(std::wstring& path, ItemId& chosen, ShredMethod method,
                                 ShredProgress& progress, HeldFolder& folder) {
    if (method == nullptr || !IsUsableFullPath(path)) {
        return ChosenItemResult::Missing;
    }
    const StopRequestScope scope(&progress);
    if (!folder.HoldParentOf(path)) {
        return ChosenItemResult::Missing;
    }
    if (ChosenItemResult result; ShredPlainFile(path, chosen, method, progress, folder, result)) {
        return result;
    }
    const std::wstring name = LastComponent(path);
    bool isFolder = false;
    {
        // Only to tell what the item is: the file and the folder walk each open it again with the
        // access and sharing they need, and check it again.
        const FileHandle item = OpenEntry(folder.Handle(), name, FILE_READ_ATTRIBUTES, ShareAll);
        if (!item.IsValid()) {
            return ChosenItemResult::Missing;
        }
        if (!IsChosenItem(item.Get(), &chosen)) {
            return ChosenItemResult::NotTheChosen;
        }
        FILE_BASIC_INFO basic{};
        if (!FileSystem.GetFileInformationByHandleEx(item.Get(), FileBasicInfo, &basic,
                                                     sizeof(basic))) {
            return ChosenItemResult::NotDestroyed;
        }
        isFolder = (basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    if (isFolder) {
        switch (ShredFolderInFolder(path, method, progress, folder.Handle(), folder.Location(),
                                    &chosen)) {
        case ShredFolderRemoved:
            return ChosenItemResult::Destroyed;
        case ShredFolderNotTheChosen:
            return ChosenItemResult::NotTheChosen;
        default:
            return ChosenItemResult::NotDestroyed;
        }
    }
    progress.ShowName(name);
    const int result = ShredFileInFolder(path, method, folder.Handle(), folder.Location(), &chosen);
    if (result == ShredFileNotTheChosen) {
        return ChosenItemResult::NotTheChosen;
    }
    progress.Step();
    return FileResult(result);
}
