#include "engine/file_shredder.h"

#include "engine/file_in_folder.h"
#include "engine/item_checks.h"
#include "engine/long_path.h"
#include "engine/random_names.h"

namespace {

// A file with several names is one set of data under each of them.
bool HasOtherNames(const BY_HANDLE_FILE_INFORMATION& info) {
    return info.nNumberOfLinks > 1;
}

bool IsPlainFile(HANDLE handle, const std::wstring& path, const ItemLocation& folder,
                 BY_HANDLE_FILE_INFORMATION& info) {
    ItemLocation location;
    return IdentifyItem(handle, path, folder, info, location) == ItemIdentity::Itself &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Renames the file ten times and deletes it under the name it ended with.
bool RenameAndDelete(std::wstring& path) {
    RenameTenTimes(path, RandomNameKind::File);
    return FileSystem.DeleteFileW(ExtendedPath(path).c_str()) != FALSE;
}

} // namespace

int ShredFileInFolder(std::wstring& path, ShredMethod method, const ItemLocation& folder) {
    BY_HANDLE_FILE_INFORMATION info{};
    {
        // Look before changing anything: a link's target must not even lose its attributes.
        FileHandle probe = OpenForInspection(path);
        if (!probe.IsValid() || !IsPlainFile(probe.Get(), path, folder, info)) {
            return ShredFileOpenFailed;
        }
    }
    const std::wstring extended = ExtendedPath(path);
    FileSystem.SetFileAttributesW(extended.c_str(), FILE_ATTRIBUTE_NORMAL);

    FileHandle file(FileSystem.CreateFileW(
        extended.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
        FILE_FLAG_WRITE_THROUGH | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.IsValid() || !IsPlainFile(file.Get(), path, folder, info)) {
        return ShredFileOpenFailed;
    }
    if (HasOtherNames(info)) {
        file.Close();
        return RenameAndDelete(path) ? ShredFileNameRemoved : ShredFileDeleteFailed;
    }

    HANDLE handle = file.Get();
    if (!method(handle)) {
        return ShredFileOverwriteFailed;
    }
    FileSystem.SetFilePointer(handle, 0, nullptr, FILE_BEGIN);
    FileSystem.SetEndOfFile(handle);
    file.Close();
    return RenameAndDelete(path) ? ShredFileDeleted : ShredFileDeleteFailed;
}

int ShredFile(std::wstring& path, ShredMethod method) {
    if (method == nullptr || !IsUsableFullPath(path)) {
        return ShredFileOpenFailed;
    }
    ItemLocation folder;
    if (!LocateParent(path, folder)) {
        return ShredFileOpenFailed;
    }
    return ShredFileInFolder(path, method, folder);
}
