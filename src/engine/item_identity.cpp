#include "engine/item_identity.h"

#include "engine/handles.h"
#include "engine/item_checks.h"
#include "engine/long_path.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// FILE_ID_INFO and its class (18), newer than the headers' target version.
struct FileIdInformation {
    ULONGLONG VolumeSerialNumber;
    BYTE Identifier[16];
};
constexpr auto FileIdInfoClass = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);

constexpr std::wstring_view ExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view ExtendedUncPrefix = L"\\\\?\\UNC\\";
constexpr std::wstring_view ObjectManagerPrefix = L"\\??\\";

// A file system without such ids gives 0, and one that cannot give a file a unique id gives all
// ones; either must be ignored.
bool MeansNoId(const BYTE* id, std::size_t size) {
    return std::all_of(id, id + size, [](BYTE b) { return b == 0; }) ||
           std::all_of(id, id + size, [](BYTE b) { return b == 0xFF; });
}

// GetFinalPathNameByHandleW with flags, however long the path; empty on failure.
std::wstring FinalPathOf(HANDLE item, DWORD flags) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = FileSystem.GetFinalPathNameByHandleW(
            item, path.data(), static_cast<DWORD>(path.size()), flags);
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        // Too small a buffer gives the length needed; one more leaves room for the terminator
        // should the count leave it out.
        path.assign(length + 1, L'\0');
    }
}

} // namespace

bool ReadItemId(HANDLE item, ItemId& id) {
    FileIdInformation info{};
    if (FileSystem.GetFileInformationByHandleEx(item, FileIdInfoClass, &info, sizeof(info)) &&
        !MeansNoId(info.Identifier, sizeof(info.Identifier))) {
        id.volumeSerial = info.VolumeSerialNumber;
        static_assert(sizeof(info.Identifier) == sizeof(id.fileId));
        std::memcpy(id.fileId.data(), info.Identifier, id.fileId.size());
        return true;
    }
    // Older systems and some file systems know only the 64-bit index.
    BY_HANDLE_FILE_INFORMATION classic{};
    if (!FileSystem.GetFileInformationByHandle(item, &classic)) {
        return false;
    }
    const std::uint64_t index =
        (static_cast<std::uint64_t>(classic.nFileIndexHigh) << 32) | classic.nFileIndexLow;
    if (MeansNoId(reinterpret_cast<const BYTE*>(&index), sizeof(index))) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }
    id = ItemId{};
    id.volumeSerial = classic.dwVolumeSerialNumber;
    std::memcpy(id.fileId.data(), &index, sizeof(index));
    return true;
}

namespace {

// File systems whose items have 64-bit ids, which their 128-bit ids extend with zeros.
constexpr std::array<const wchar_t*, 4> ShortIdFileSystems = {L"NTFS", L"FAT", L"FAT32", L"exFAT"};

bool IsShortIdFileSystem(HANDLE item) {
    wchar_t name[MAX_PATH + 1] = {};
    if (!FileSystem.GetVolumeInformationByHandleW(item, nullptr, 0, nullptr, nullptr, nullptr, name,
                                                  static_cast<DWORD>(std::size(name)))) {
        return false;
    }
    return std::any_of(ShortIdFileSystems.begin(), ShortIdFileSystems.end(),
                       [&](const wchar_t* known) { return std::wcscmp(known, name) == 0; });
}

} // namespace

bool ReadShortIdVolume(HANDLE folder, std::uint64_t& volumeSerial) {
    constexpr std::size_t Half = sizeof(std::uint64_t);
    ItemId id;
    LONGLONG index = 0;
    if (!IsShortIdFileSystem(folder) || !ReadItemId(folder, id) ||
        !FileSystem.GetFileIndex(folder, &index) ||
        !std::all_of(id.fileId.begin() + Half, id.fileId.end(),
                     [](std::uint8_t b) { return b == 0; }) ||
        std::memcmp(id.fileId.data(), &index, Half) != 0) {
        return false;
    }
    volumeSerial = id.volumeSerial;
    return true;
}

namespace {

FileHandle OpenItemAtPath(const std::wstring& path) {
    if (!IsUsableFullPath(path)) {
        SetLastError(ERROR_INVALID_NAME);
        return FileHandle();
    }
    return FileHandle(FileSystem.CreateFileW(
        ExtendedPath(path).c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// With the drive letter where the volume has one, else the volume's GUID path; empty when the
// system cannot say.
std::wstring FinalPathOf(HANDLE item) {
    std::wstring found = FinalPathOf(item, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (found.empty()) {
        found = FinalPathOf(item, FILE_NAME_NORMALIZED | VOLUME_NAME_GUID);
    }
    // Wine answers ERROR_MORE_DATA for a path longer than MAX_PATH, whatever the buffer; the
    // object name it would have converted names the same place as "\??\C:\...". Windows names
    // files "\Device\...", never so.
    std::wstring name;
    if (found.empty() && FileSystem.GetItemName(item, name) &&
        std::wstring_view(name).starts_with(ObjectManagerPrefix)) {
        found = std::wstring(ExtendedPrefix) + name.substr(ObjectManagerPrefix.size());
    }
    return found;
}

bool SameIgnoringCase(std::wstring_view first, std::wstring_view second) {
    return CompareStringOrdinal(first.data(), static_cast<int>(first.size()), second.data(),
                                static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

std::vector<std::wstring> Components(const std::wstring& path) {
    std::vector<std::wstring> components;
    std::size_t start = 0;
    for (std::size_t end; (end = path.find(L'\\', start)) != std::wstring::npos; start = end + 1) {
        components.push_back(path.substr(start, end - start));
    }
    components.push_back(path.substr(start));
    return components;
}

// Wine reports names without their trailing dots and spaces, where Windows keeps them. Every
// name was opened as given, in its \\?\ form, so a reported name that is a given one without
// them, compared from the end of both paths, gets them back.
std::wstring WithGivenTrailingDots(const std::wstring& found, const std::wstring& given) {
    std::vector<std::wstring> names = Components(found);
    const std::vector<std::wstring> givenNames = Components(given);
    for (std::size_t back = 1; back <= names.size() && back <= givenNames.size(); ++back) {
        std::wstring& name = names[names.size() - back];
        const std::wstring& givenName = givenNames[givenNames.size() - back];
        const std::size_t kept = givenName.find_last_not_of(L". ") + 1;
        if (kept < givenName.size() && kept > 0 &&
            SameIgnoringCase(name, std::wstring_view(givenName).substr(0, kept))) {
            name += givenName.substr(kept);
        }
    }
    std::wstring path = names.front();
    for (std::size_t index = 1; index < names.size(); ++index) {
        path += L'\\' + names[index];
    }
    return path;
}

FileHandle OpenFolderAtPath(const std::wstring& folderPath) {
    return FileHandle(FileSystem.CreateFileW(folderPath.c_str(), FILE_READ_ATTRIBUTES, ShareAll,
                                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                             nullptr));
}

// Where the item opened as item at path is, as GetFinalPathNameByHandleW gives it. Windows opens
// a link at the item's own name as the link, but Wine opens a Linux link there as its target: an
// item that the system finds in another folder than the one that holds path's name is therefore
// that name in the folder's final path, and no link at the name is ever followed.
std::wstring FinalPathAt(const std::wstring& path, HANDLE item, AddedItemFolders& folders,
                         std::wstring& found) {
    found = WithGivenTrailingDots(FinalPathOf(item), path);
    if (found.empty() ||
        SameIgnoringCase(ExtendedPath(ShownFinalPath(found)), ExtendedPath(path))) {
        return found;
    }
    const std::wstring folderPath = folders.Of(ParentFolderPath(path)).finalPath;
    if (folderPath.empty()) {
        return std::wstring();
    }
    if (DirectoryPart(found) == JoinPath(folderPath, std::wstring())) {
        return found;
    }
    return JoinPath(folderPath, LastComponent(path));
}

// The identity of item, opened at path and found where found says: by the short way where it lies
// in its folder of a volume of 64-bit ids, else read whole.
bool ReadAddedItemId(HANDLE item, const std::wstring& path, const std::wstring& found,
                     AddedItemFolders& folders, ItemId& id) {
    if (found.empty()) {
        return ReadItemId(item, id);
    }
    const AddedItemFolders::Facts folder = folders.Of(ParentFolderPath(path));
    LONGLONG index = 0;
    if (folder.shortIds && DirectoryPart(found) == JoinPath(folder.finalPath, std::wstring()) &&
        FileSystem.GetFileIndex(item, &index)) {
        id = ItemId{};
        id.volumeSerial = folder.volumeSerial;
        std::memcpy(id.fileId.data(), &index, sizeof(index));
        return true;
    }
    return ReadItemId(item, id);
}

} // namespace

bool ReadItemIdAtPath(const std::wstring& path, ItemId& id) {
    const FileHandle item = OpenItemAtPath(path);
    return item.IsValid() && ReadItemId(item.Get(), id);
}

ItemReading ReadAddedItem(const std::wstring& path, ItemId& id, std::wstring& finalPath) {
    AddedItemFolders folders;
    return ReadAddedItem(path, id, finalPath, folders);
}

ItemReading ReadAddedItem(const std::wstring& path, ItemId& id, std::wstring& finalPath,
                          AddedItemFolders& folders) {
    const FileHandle item = OpenItemAtPath(path);
    if (!item.IsValid()) {
        return ItemReading::Unopenable;
    }
    std::wstring found;
    const std::wstring atPath = FinalPathAt(path, item.Get(), folders, found);
    if (!ReadAddedItemId(item.Get(), path, found, folders, id)) {
        return ItemReading::NoFileId;
    }
    finalPath = ShownFinalPath(atPath);
    return finalPath.empty() ? ItemReading::NoFinalPath : ItemReading::Read;
}

AddedItemFolders::Facts AddedItemFolders::Of(const std::wstring& folderPath) {
    const std::lock_guard<std::mutex> lock(mutex_);
    auto known = folders_.find(folderPath);
    if (known == folders_.end()) {
        Facts facts;
        const FileHandle folder = OpenFolderAtPath(folderPath);
        if (folder.IsValid()) {
            facts.finalPath = WithGivenTrailingDots(FinalPathOf(folder.Get()), folderPath);
            facts.shortIds =
                !facts.finalPath.empty() && ReadShortIdVolume(folder.Get(), facts.volumeSerial);
        }
        known = folders_.emplace(folderPath, std::move(facts)).first;
    }
    return known->second;
}

std::wstring ShownFinalPath(const std::wstring& finalPath) {
    const std::wstring_view view(finalPath);
    std::wstring shown;
    if (view.starts_with(ExtendedUncPrefix)) {
        shown = L"\\\\" + finalPath.substr(ExtendedUncPrefix.size());
    } else if (view.starts_with(ExtendedPrefix)) {
        shown = finalPath.substr(ExtendedPrefix.size());
    }
    if (IsUsableFullPath(shown)) {
        return shown;
    }
    return IsUsableFullPath(finalPath) ? finalPath : std::wstring();
}
