#include "engine/item_checks.h"

#include "engine/long_path.h"

#include <vector>

namespace {

// Wine reports names without their trailing dots and spaces; compare them the same way.
std::wstring WithoutTrailingDotsAndSpaces(const std::wstring& path) {
    std::wstring result;
    result.reserve(path.size());
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) {
            end = path.size();
        }
        std::size_t kept = end;
        while (kept > start && (path[kept - 1] == L'.' || path[kept - 1] == L' ')) {
            --kept;
        }
        result.append(path, start, kept - start);
        if (end < path.size()) {
            result += L'\\';
        }
        start = end + 1;
    }
    return result;
}

bool SameLocation(const ItemLocation& first, const ItemLocation& second) {
    return first.volumeSerial == second.volumeSerial &&
           WithoutTrailingDotsAndSpaces(first.path) == WithoutTrailingDotsAndSpaces(second.path);
}

// A name with trailing dots or spaces is reported like the plain name, so a link "name." to its
// sibling "name" would pass for itself: it must not be that sibling.
bool IsItsPlainNamedSibling(HANDLE folderHandle, const std::wstring& name,
                            const BY_HANDLE_FILE_INFORMATION& info) {
    const std::wstring plain = WithoutTrailingDotsAndSpaces(name);
    if (plain == name || plain.empty()) {
        return false;
    }
    FileHandle sibling = OpenEntry(folderHandle, plain, FILE_READ_ATTRIBUTES, ShareAll);
    BY_HANDLE_FILE_INFORMATION siblingInfo{};
    return sibling.IsValid() &&
           FileSystem.GetFileInformationByHandle(sibling.Get(), &siblingInfo) &&
           siblingInfo.dwVolumeSerialNumber == info.dwVolumeSerialNumber &&
           siblingInfo.nFileIndexHigh == info.nFileIndexHigh &&
           siblingInfo.nFileIndexLow == info.nFileIndexLow;
}

} // namespace

bool LocateHandle(HANDLE handle, ItemLocation& location, BY_HANDLE_FILE_INFORMATION& info) {
    if (!FileSystem.GetFileInformationByHandle(handle, &info)) {
        return false;
    }
    // Room for the longest path the platform allows.
    std::vector<unsigned char> buffer(sizeof(FILE_NAME_INFO) + 32768 * sizeof(wchar_t));
    auto* name = reinterpret_cast<FILE_NAME_INFO*>(buffer.data());
    if (!FileSystem.GetFileInformationByHandleEx(handle, FileNameInfo, name,
                                                 static_cast<DWORD>(buffer.size())) ||
        name->FileNameLength == 0) {
        return false;
    }
    location.volumeSerial = info.dwVolumeSerialNumber;
    location.path.assign(name->FileName, name->FileNameLength / sizeof(wchar_t));
    return true;
}

FileHandle OpenParentFolder(const std::wstring& path, ItemLocation& folder) {
    FileHandle handle(FileSystem.CreateFileW(
        ParentFolderPath(path).c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
        ShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle.IsValid() && LocateHandle(handle.Get(), folder, info)) {
        return handle;
    }
    return FileHandle();
}

FileHandle OpenEntry(HANDLE folder, const std::wstring& name, DWORD access, DWORD share,
                     DWORD options) {
    return FileHandle(FileSystem.OpenRelative(folder, name.c_str(), access, share, options));
}

FileHandle OpenDataStream(HANDLE file, const std::wstring& stream) {
    return OpenEntry(file, stream, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE,
                     FILE_NON_DIRECTORY_FILE | FILE_WRITE_THROUGH);
}

ItemIdentity IdentifyItem(HANDLE handle, HANDLE folderHandle, const std::wstring& name,
                          const ItemLocation& folder, BY_HANDLE_FILE_INFORMATION& info,
                          ItemLocation& location) {
    if (!LocateHandle(handle, location, info)) {
        return ItemIdentity::Unverifiable;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return ItemIdentity::Link;
    }
    const ItemLocation expected{folder.volumeSerial, JoinPath(folder.path, name)};
    if (!SameLocation(location, expected) || IsItsPlainNamedSibling(folderHandle, name, info)) {
        return ItemIdentity::Link;
    }
    return ItemIdentity::Itself;
}
