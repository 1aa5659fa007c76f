#include "engine/folder_checks.h"

#include "engine/long_path.h"

#include <cstddef>
#include <cstring>

namespace {

constexpr DWORD ListingOnly = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES;
// On a network share every listing call is a round trip: each one asks for as many entries as
// 64 KiB hold.
constexpr std::size_t ListingBufferSize = 64 * 1024;

// The one buffer that every listing of the thread is read into.
unsigned char* ThreadListingBuffer() {
    thread_local std::unique_ptr<unsigned char[]> buffer;
    if (!buffer) {
        buffer = std::make_unique<unsigned char[]>(ListingBufferSize);
    }
    return buffer.get();
}

// How many bytes of a filled listing buffer its entries take, up to the end of the last name.
std::size_t ListedBytes(const unsigned char* buffer) {
    std::size_t offset = 0;
    for (;;) {
        const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer + offset);
        const std::size_t end =
            offset + offsetof(FILE_ID_BOTH_DIR_INFO, FileName) + info->FileNameLength;
        if (info->NextEntryOffset == 0 || offset + info->NextEntryOffset >= ListingBufferSize) {
            return end < ListingBufferSize ? end : ListingBufferSize;
        }
        offset += info->NextEntryOffset;
    }
}

// The folder a listing named, opened as itself: no reparse point, and the index number the
// listing gave. Under Wine a Linux link opens as its target, whose index differs; a link there
// before the listing was taken is listed as a reparse point and never opened as a folder. This
// asks nothing that resolves the folder's path, which grows costly with depth.
bool IsListedFolder(HANDLE folder, LONGLONG listedId, DWORD& attributes) {
    FILE_BASIC_INFO basic{};
    LONGLONG index = 0;
    if (listedId == 0 ||
        !FileSystem.GetFileInformationByHandleEx(folder, FileBasicInfo, &basic, sizeof(basic)) ||
        !FileSystem.GetFileIndex(folder, &index) || index != listedId) {
        return false;
    }
    attributes = basic.FileAttributes;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

} // namespace

FolderIdentity OpenFolder(HANDLE parent, const std::wstring& name,
                          const ItemLocation& parentLocation, LONGLONG listedId, DWORD access,
                          FileHandle& opened, ItemLocation& location, DWORD& attributes) {
    opened = OpenEntry(parent, name, access, ShareAll);
    if (!opened.IsValid() && access != ListingOnly &&
        (GetLastError() == ERROR_SHARING_VIOLATION || GetLastError() == ERROR_ACCESS_DENIED)) {
        // Held elsewhere without shared deletion, or no right to remove it: its contents are
        // still shredded, and its own removal then fails.
        opened = OpenEntry(parent, name, ListingOnly, ShareAll);
    }
    if (!opened.IsValid()) {
        return FolderIdentity::Unreachable;
    }
    // Children are located by joining names onto this, so it is the path that was checked.
    const ItemLocation joined{JoinPath(parentLocation.path, name)};
    if (!parentLocation.path.empty() && IsListedFolder(opened.Get(), listedId, attributes)) {
        location = joined;
        return FolderIdentity::Folder;
    }
    ItemFacts facts;
    switch (IdentifyItem(opened.Get(), parent, name, parentLocation, facts, location)) {
    case ItemIdentity::Itself:
        attributes = facts.attributes;
        location = joined;
        return (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) ? FolderIdentity::Folder
                                                             : FolderIdentity::Unreachable;
    case ItemIdentity::Link:
        return FolderIdentity::Link;
    case ItemIdentity::Unverifiable:
        break;
    }
    return FolderIdentity::Unreachable;
}

FileHandle OpenFolderToRemove(HANDLE parent, const std::wstring& name, HANDLE walked) {
    FileHandle folder = OpenEntryWhenFree(parent, name, DELETE | FILE_READ_ATTRIBUTES, ShareAll,
                                          FILE_DIRECTORY_FILE);
    LONGLONG index = 0;
    LONGLONG walkedIndex = 0;
    // Both open the same name relative to parent without following a link there, so a match
    // is the same item on parent's volume.
    if (!folder.IsValid() || !FileSystem.GetFileIndex(folder.Get(), &index) ||
        !FileSystem.GetFileIndex(walked, &walkedIndex) || index != walkedIndex) {
        return FileHandle();
    }
    return folder;
}

bool FolderListing::Next(HANDLE folder, ListedEntry& entry) {
    for (;;) {
        if (!filled_) {
            entries_.reset();
            if (ended_) {
                return false;
            }
            const FILE_INFO_BY_HANDLE_CLASS kind =
                started_ ? FileIdBothDirectoryInfo : FileIdBothDirectoryRestartInfo;
            const bool first = !started_;
            started_ = true;
            unsigned char* buffer = ThreadListingBuffer();
            if (!FileSystem.GetFileInformationByHandleEx(folder, kind, buffer, ListingBufferSize)) {
                const DWORD error = GetLastError();
                ended_ = true;
                refused_ = first && error != ERROR_NO_MORE_FILES && error != ERROR_FILE_NOT_FOUND;
                return false;
            }
            // A copy just as long as the entries, so that every open level of a deep walk holds
            // only what it listed.
            size_ = ListedBytes(buffer);
            entries_ = std::make_unique<unsigned char[]>(size_);
            std::memcpy(entries_.get(), buffer, size_);
            filled_ = true;
            offset_ = 0;
        }
        const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(entries_.get() + offset_);
        entry.name.assign(info->FileName, info->FileNameLength / sizeof(wchar_t));
        entry.attributes = info->FileAttributes;
        entry.reparseTag = IsLinkEntry(info->FileAttributes) ? info->EaSize : 0;
        entry.fileId = info->FileId.QuadPart;
        if (info->NextEntryOffset == 0 || offset_ + info->NextEntryOffset >= size_) {
            filled_ = false;
        } else {
            offset_ += info->NextEntryOffset;
        }
        return true;
    }
}

bool IsLinkEntry(unsigned long attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool IsWalkedFolderEntry(const ListedEntry& entry) {
    return !IsLinkEntry(entry.attributes) && (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsDotEntry(const std::wstring& name) {
    return name == L"." || name == L"..";
}
