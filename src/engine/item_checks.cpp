#include "engine/item_checks.h"

#include "engine/long_path.h"
#include "engine/stop_request.h"

#include <utility>

namespace {

// A brief holder is waited for over about a second, in short slices so that a stop request ends
// the wait at once.
constexpr int OpenAttempts = 5;
constexpr DWORD OpenRetryDelay = 250;
constexpr DWORD WaitSlice = 25;

// False when the job asked to stop before the wait was over.
bool WaitBeforeRetry() {
    for (DWORD waited = 0; waited < OpenRetryDelay; waited += WaitSlice) {
        if (StopRequested()) {
            return false;
        }
        Sleep(WaitSlice);
    }
    return !StopRequested();
}

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
    return WithoutTrailingDotsAndSpaces(first.path) == WithoutTrailingDotsAndSpaces(second.path);
}

// A name with trailing dots or spaces is reported like the plain name, so a link "name." to its
// sibling "name" would pass for itself: it must not be that sibling.
bool IsItsPlainNamedSibling(HANDLE folderHandle, const std::wstring& name, HANDLE item) {
    const std::wstring plain = WithoutTrailingDotsAndSpaces(name);
    if (plain == name || plain.empty()) {
        return false;
    }
    FileHandle sibling = OpenEntry(folderHandle, plain, FILE_READ_ATTRIBUTES, ShareAll);
    LONGLONG siblingIndex = 0;
    LONGLONG itemIndex = 0;
    // Both are in the same folder, so on the same volume.
    return sibling.IsValid() && FileSystem.GetFileIndex(sibling.Get(), &siblingIndex) &&
           FileSystem.GetFileIndex(item, &itemIndex) && siblingIndex == itemIndex;
}

} // namespace

bool LocateHandle(HANDLE handle, ItemLocation& location, ItemFacts& facts) {
    FILE_BASIC_INFO basic{};
    FILE_STANDARD_INFO standard{};
    std::wstring name;
    if (!FileSystem.GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof(basic)) ||
        !FileSystem.GetFileInformationByHandleEx(handle, FileStandardInfo, &standard,
                                                 sizeof(standard)) ||
        !FileSystem.GetItemName(handle, name) || name.empty()) {
        return false;
    }
    facts.attributes = basic.FileAttributes;
    facts.links = standard.NumberOfLinks;
    location.path = std::move(name);
    return true;
}

FileHandle OpenParentFolder(const std::wstring& path, ItemLocation& folder) {
    FileHandle handle(FileSystem.CreateFileW(
        ParentFolderPath(path).c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
        ShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    // Only its name is needed: the items in it are checked on their own handles.
    if (handle.IsValid() && FileSystem.GetItemName(handle.Get(), folder.path) &&
        !folder.path.empty()) {
        return handle;
    }
    return FileHandle();
}

FileHandle OpenEntry(HANDLE folder, const std::wstring& name, DWORD access, DWORD share,
                     DWORD options) {
    return FileHandle(FileSystem.OpenRelative(folder, name.c_str(), access, share, options));
}

FileHandle OpenEntryWhenFree(HANDLE folder, const std::wstring& name, DWORD access, DWORD share,
                             DWORD options) {
    for (int attempt = 1;; ++attempt) {
        FileHandle opened = OpenEntry(folder, name, access, share, options);
        if (opened.IsValid() || GetLastError() != ERROR_SHARING_VIOLATION ||
            attempt == OpenAttempts || !WaitBeforeRetry()) {
            return opened;
        }
    }
}

FileHandle OpenDataStream(HANDLE item, const std::wstring& stream) {
    return OpenEntryWhenFree(item, stream, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE,
                             FILE_NON_DIRECTORY_FILE | FILE_WRITE_THROUGH);
}

ItemIdentity IdentifyItem(HANDLE handle, HANDLE folderHandle, const std::wstring& name,
                          const ItemLocation& folder, ItemFacts& facts, ItemLocation& location) {
    if (!LocateHandle(handle, location, facts)) {
        return ItemIdentity::Unverifiable;
    }
    if (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return ItemIdentity::Link;
    }
    const ItemLocation expected{JoinPath(folder.path, name)};
    if (!SameLocation(location, expected) || IsItsPlainNamedSibling(folderHandle, name, handle)) {
        return ItemIdentity::Link;
    }
    return ItemIdentity::Itself;
}
