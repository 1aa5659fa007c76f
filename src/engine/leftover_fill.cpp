#include "engine/leftover_fill.h"

#include "engine/fill_names.h"
#include "engine/folder_checks.h"
#include "engine/free_space_wipe.h"
#include "engine/item_checks.h"
#include "engine/long_path.h"

#include <winternl.h>

namespace {

constexpr DWORD LeftoverFolderAccess =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | DELETE;
constexpr DWORD LeftoverFileAccess = FILE_READ_ATTRIBUTES | DELETE;
constexpr DWORD PlainItemAttributesExcluded =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
constexpr wchar_t FirstDrive = L'A';
constexpr int DriveLetters = 26;

bool IsOpenedAsItself(HANDLE item, HANDLE folder, const std::wstring& name,
                      const ItemLocation& folderLocation, ItemFacts& facts) {
    ItemLocation location;
    return IdentifyItem(item, folder, name, folderLocation, facts, location) ==
           ItemIdentity::Itself;
}

// Every entry of the open fill folder opened as itself, when each is a plain file of a fill
// file's name with one link; false as soon as one is anything else or cannot be examined.
bool OpenFillFiles(HANDLE folder, const ItemLocation& folderLocation,
                   std::vector<FileHandle>& files) {
    FolderListing listing;
    ListedEntry entry;
    while (listing.Next(folder, entry)) {
        if (IsDotEntry(entry.name)) {
            continue;
        }
        if (!IsFillFileName(entry.name) || (entry.attributes & PlainItemAttributesExcluded) != 0) {
            return false;
        }
        FileHandle file =
            OpenEntry(folder, entry.name, LeftoverFileAccess, ShareAll, FILE_NON_DIRECTORY_FILE);
        ItemFacts facts;
        if (!file.IsValid() ||
            !IsOpenedAsItself(file.Get(), folder, entry.name, folderLocation, facts) ||
            (facts.attributes & PlainItemAttributesExcluded) != 0 || facts.links != 1) {
            return false;
        }
        files.push_back(std::move(file));
    }
    return !listing.Refused();
}

bool RemoveFillFolder(HANDLE root, const ItemLocation& rootLocation) {
    FileHandle folder = OpenEntry(root, FillFolderName, LeftoverFolderAccess, ShareAll);
    ItemFacts facts;
    ItemLocation location;
    if (!folder.IsValid() ||
        IdentifyItem(folder.Get(), root, FillFolderName, rootLocation, facts, location) !=
            ItemIdentity::Itself ||
        (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return false;
    }
    std::vector<FileHandle> files;
    if (!OpenFillFiles(folder.Get(), location, files)) {
        return false;
    }
    for (FileHandle& file : files) {
        if (!FileSystem.DeleteByHandle(file.Get())) {
            return false;
        }
        file.Reset();
    }
    return FileSystem.DeleteByHandle(folder.Get()) != FALSE;
}

bool IsLocalDrive(UINT type) {
    return type == DRIVE_FIXED || type == DRIVE_REMOVABLE;
}

} // namespace

void RemoveLeftoverFillFolder(const std::wstring& root, std::vector<std::wstring>& leftAlone) {
    FileHandle rootFolder(FileSystem.CreateFileW(
        root.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES, ShareAll, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ItemLocation rootLocation;
    ItemFacts rootFacts;
    if (!rootFolder.IsValid() || !LocateHandle(rootFolder.Get(), rootLocation, rootFacts)) {
        return;
    }
    FileHandle probe = OpenEntry(rootFolder.Get(), FillFolderName, FILE_READ_ATTRIBUTES, ShareAll);
    if (!probe.IsValid() &&
        (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND)) {
        return;
    }
    probe.Reset();
    if (!RemoveFillFolder(rootFolder.Get(), rootLocation)) {
        leftAlone.push_back(JoinPath(root, FillFolderName));
    }
}

std::vector<std::wstring> RemoveLeftoverFillFolders() {
    std::vector<std::wstring> leftAlone;
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < DriveLetters; ++i) {
        if ((drives & (1u << i)) == 0) {
            continue;
        }
        const std::wstring root{static_cast<wchar_t>(FirstDrive + i), L':', L'\\'};
        if (IsLocalDrive(GetDriveTypeW(root.c_str()))) {
            RemoveLeftoverFillFolder(root, leftAlone);
        }
    }
    return leftAlone;
}
