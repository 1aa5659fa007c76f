#include "engine/folder_checks.h"

#include <cwchar>

FolderIdentity IdentifyFolder(const std::wstring& path, const ItemLocation& folder,
                              ItemLocation& location) {
    FileHandle handle = OpenForInspection(path);
    if (!handle.IsValid()) {
        return FolderIdentity::Unreachable;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    switch (IdentifyItem(handle.Get(), path, folder, info, location)) {
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
