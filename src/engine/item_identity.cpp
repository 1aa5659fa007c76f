#include "engine/item_identity.h"

#include "engine/handles.h"
#include "engine/item_checks.h"
#include "engine/long_path.h"

#include <cstring>

namespace {

// FILE_ID_INFO and its class (18), newer than the headers' target version.
struct FileIdInformation {
    ULONGLONG VolumeSerialNumber;
    BYTE Identifier[16];
};
constexpr auto FileIdInfoClass = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);

} // namespace

bool ReadItemId(HANDLE item, ItemId& id) {
    FileIdInformation info{};
    if (FileSystem.GetFileInformationByHandleEx(item, FileIdInfoClass, &info, sizeof(info))) {
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
    id = ItemId{};
    id.volumeSerial = classic.dwVolumeSerialNumber;
    const std::uint64_t index =
        (static_cast<std::uint64_t>(classic.nFileIndexHigh) << 32) | classic.nFileIndexLow;
    std::memcpy(id.fileId.data(), &index, sizeof(index));
    return true;
}

bool ReadItemIdAtPath(const std::wstring& path, ItemId& id) {
    if (!IsUsableFullPath(path)) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    FileHandle item(FileSystem.CreateFileW(
        ExtendedPath(path).c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return item.IsValid() && ReadItemId(item.Get(), id);
}
