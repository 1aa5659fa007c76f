#include "engine/item_checks.h"

#include "engine/long_path.h"

std::wstring FinalPathOf(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = FileSystem.GetFinalPathNameByHandleW(
            handle, path.data(), static_cast<DWORD>(path.size()),
            FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.assign(length + 1, L'\0');
    }
}

std::wstring ParentFinalPath(const std::wstring& path) {
    FileHandle folder(FileSystem.CreateFileW(ParentFolderPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                             nullptr));
    if (!folder.IsValid()) {
        return {};
    }
    return FinalPathOf(folder.Get());
}

FileHandle OpenForInspection(const std::wstring& path) {
    return FileHandle(FileSystem.CreateFileW(
        ExtendedPath(path).c_str(), FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

ItemIdentity IdentifyHandle(HANDLE handle, const std::wstring& expectedFinalPath,
                            BY_HANDLE_FILE_INFORMATION& info) {
    if (!FileSystem.GetFileInformationByHandle(handle, &info)) {
        return ItemIdentity::Unverifiable;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return ItemIdentity::Link;
    }
    const std::wstring finalPath = FinalPathOf(handle);
    if (finalPath.empty()) {
        return ItemIdentity::Unverifiable;
    }
    return SamePath(finalPath, expectedFinalPath) ? ItemIdentity::Itself : ItemIdentity::Link;
}
