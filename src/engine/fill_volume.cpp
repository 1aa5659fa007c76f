#include "engine/fill_volume.h"

#include "engine/file_system.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr std::size_t FileSystemNameLength = MAX_PATH + 1;
// ERROR_DISK_QUOTA_EXCEEDED, newer than MinGW's headers.
constexpr DWORD ErrorDiskQuotaExceeded = 1295;

} // namespace

bool ReadFillVolume(const std::wstring& root, FillVolume& volume) {
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD clusters = 0;
    wchar_t fileSystem[FileSystemNameLength] = {};
    if (!FileSystem.GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector,
                                      &freeClusters, &clusters) ||
        !FileSystem.GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr,
                                          fileSystem, FileSystemNameLength)) {
        return false;
    }
    if (sectorsPerCluster == 0 || bytesPerSector == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    volume.sectorBytes = bytesPerSector;
    volume.clusterBytes = sectorsPerCluster * bytesPerSector;
    volume.ntfs = std::wcscmp(fileSystem, L"NTFS") == 0;
    volume.fileCap =
        std::max<std::uint64_t>(FillFileBytes / volume.clusterBytes, 1) * volume.clusterBytes;
    return true;
}

bool ReadFillableSpace(const std::wstring& root, std::uint64_t& bytes) {
    ULARGE_INTEGER available{};
    ULARGE_INTEGER total{};
    ULARGE_INTEGER free{};
    if (!FileSystem.GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free)) {
        return false;
    }
    bytes = std::max(available.QuadPart, free.QuadPart);
    return true;
}

bool IsDiskFull(DWORD error) {
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ||
           error == ErrorDiskQuotaExceeded;
}
