#include "engine/chosen_item.h"

#include "engine/file_in_folder.h"
#include "engine/file_shredder.h"
#include "engine/folder_shredder.h"
#include "engine/long_path.h"
#include "engine/stop_request.h"

bool IsChosenItem(HANDLE item, const ItemId* chosen) {
    ItemId id;
    return chosen == nullptr || (ReadItemId(item, id) && id == *chosen);
}

ChosenItemResult ShredChosenItem(std::wstring& path, ItemId& chosen, ShredMethod method,
                                 ShredProgress& progress) {
    if (method == nullptr || !IsUsableFullPath(path)) {
        return ChosenItemResult::Missing;
    }
    const StopRequestScope scope(&progress);
    ItemLocation folder;
    const FileHandle parent = OpenParentFolder(path, folder);
    if (!parent.IsValid()) {
        return ChosenItemResult::Missing;
    }
    const std::wstring name = LastComponent(path);
    bool isFolder = false;
    {
        // Only to tell what the item is: the file and the folder walk each open it again with the
        // access and sharing they need, and check it again.
        const FileHandle item = OpenEntry(parent.Get(), name, FILE_READ_ATTRIBUTES, ShareAll);
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
        switch (ShredFolderInFolder(path, method, progress, parent.Get(), folder, &chosen)) {
        case ShredFolderRemoved:
            return ChosenItemResult::Destroyed;
        case ShredFolderNotTheChosen:
            return ChosenItemResult::NotTheChosen;
        default:
            return ChosenItemResult::NotDestroyed;
        }
    }
    progress.ShowName(name);
    const int result = ShredFileInFolder(path, method, parent.Get(), folder, &chosen);
    if (result == ShredFileNotTheChosen) {
        return ChosenItemResult::NotTheChosen;
    }
    progress.Step();
    return result == ShredFileDeleted ? ChosenItemResult::Destroyed
                                      : ChosenItemResult::NotDestroyed;
}
