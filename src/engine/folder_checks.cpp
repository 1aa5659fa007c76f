#include "engine/folder_checks.h"

#include "engine/item_checks.h"
#include "engine/long_path.h"

#include <cwchar>

FolderIdentity IdentifyFolder(const std::wstring& path, const std::wstring& folderFinalPath,
                              std::wstring& finalPath) {
    FileHandle handle = OpenForInspection(path);
    if (!handle.IsValid()) {
        return FolderIdentity::Unreachable;
    }
    finalPath = JoinPath(folderFinalPath, LastComponent(path));
    BY_HANDLE_FILE_INFORMATION info{};
    switch (IdentifyHandle(handle.Get(), finalPath, info)) {
    case ItemIdentity::Itself:
        return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FolderIdentity::Folder
                                                                  : FolderIdentity::Unreachable;
    case ItemIdentity::Link:
        return FolderIdentity::Link;
    case ItemIdentity::Unverifiable:
        break;
    }
    return FolderIdentity::Unreachable;
}

bool IsLinkEntry(unsigned long attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool IsDotEntry(const wchar_t* name) {
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}
