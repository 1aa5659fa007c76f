#include "mainwindow/free_space_roots.h"

#include "handles/kernel_handle.h"
#include "job/free_space_job.h"
#include "mainwindow/free_space_text.h"

#include <winioctl.h>

#include <cwchar>
#include <cwctype>
#include <string_view>
#include <vector>

namespace {

constexpr std::wstring_view VerbatimPrefix = L"\\\\?\\";
constexpr std::wstring_view VerbatimUncPrefix = L"\\\\?\\UNC\\";
// "\\?\Volume{00000000-0000-0000-0000-000000000000}\" and its terminator.
constexpr DWORD VolumeGuidPathLength = 50;

bool IsDriveRoot(std::wstring_view path) {
    return path.size() == 3 && std::iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\';
}

// "server\share" or "server\share\", neither part empty and nothing after them.
bool IsShareRoot(std::wstring_view path) {
    if (!path.empty() && path.back() == L'\\') {
        path.remove_suffix(1);
    }
    const std::size_t separator = path.find(L'\\');
    return separator != std::wstring_view::npos && separator > 0 && separator + 1 < path.size() &&
           path.find(L'\\', separator + 1) == std::wstring_view::npos;
}

std::wstring WithTrailingBackslash(std::wstring_view path) {
    std::wstring root(path);
    if (root.back() != L'\\') {
        root += L'\\';
    }
    return root;
}

bool IsShareRootPath(const std::wstring& root) {
    return root.size() > 2 && root[0] == L'\\' && root[1] == L'\\';
}

UINT DriveTypeOf(const std::wstring& root) {
    // A share is a network volume whether or not the system can reach it now.
    return IsShareRootPath(root) ? DRIVE_REMOTE : QueryDriveType(root.c_str());
}

SeekPenalty ReadSeekPenalty(const std::wstring& root) {
    if (!IsDriveRoot(root)) {
        return SeekPenalty::NoAnswer;
    }
    // The volume's device ("\\.\D:"); the question needs no access rights and reaches the disk
    // the volume lies on.
    const std::wstring volume = L"\\\\.\\" + root.substr(0, 2);
    const KernelHandle device(CreateFileW(volume.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
    if (!device) {
        return SeekPenalty::NoAnswer;
    }
    STORAGE_PROPERTY_QUERY query = {};
    query.PropertyId = StorageDeviceSeekPenaltyProperty;
    query.QueryType = PropertyStandardQuery;
    DEVICE_SEEK_PENALTY_DESCRIPTOR answer = {};
    DWORD returned = 0;
    if (!DeviceIoControl(device.Get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &answer,
                         sizeof answer, &returned, nullptr) ||
        returned < sizeof answer) {
        return SeekPenalty::NoAnswer;
    }
    return answer.IncursSeekPenalty ? SeekPenalty::Incurred : SeekPenalty::None;
}

std::wstring UpperCase(std::wstring_view text) {
    std::wstring upper(text);
    for (wchar_t& letter : upper) {
        letter = static_cast<wchar_t>(std::towupper(letter));
    }
    return upper;
}

std::wstring Formatted(const wchar_t* format, const std::wstring& first,
                       const std::wstring& second) {
    std::vector<wchar_t> text(std::wcslen(format) + first.size() + second.size() + 1);
    std::swprintf(text.data(), text.size(), format, first.c_str(), second.c_str());
    return text.data();
}

} // namespace

DriveTypeQuery QueryDriveType = GetDriveTypeW;
SeekPenaltyQuery QuerySeekPenalty = ReadSeekPenalty;

std::wstring VolumeRootOf(const std::wstring& path) {
    std::wstring_view rest(path);
    if (rest.starts_with(VerbatimUncPrefix)) {
        rest.remove_prefix(VerbatimUncPrefix.size());
        return IsShareRoot(rest) ? L"\\\\" + WithTrailingBackslash(rest) : std::wstring();
    }
    if (rest.starts_with(VerbatimPrefix)) {
        rest.remove_prefix(VerbatimPrefix.size());
    } else if (rest.starts_with(L"\\\\")) {
        rest.remove_prefix(2);
        // A device path ("\\.\D:\") is no share.
        if (rest.starts_with(L".")) {
            return {};
        }
        return IsShareRoot(rest) ? L"\\\\" + WithTrailingBackslash(rest) : std::wstring();
    }
    return IsDriveRoot(rest) ? UpperCase(rest) : std::wstring();
}

bool IsLocalVolume(const std::wstring& root) {
    const UINT type = DriveTypeOf(root);
    return type == DRIVE_FIXED || type == DRIVE_REMOVABLE;
}

std::wstring NotLocalReason(const std::wstring& root) {
    switch (DriveTypeOf(root)) {
    case DRIVE_REMOTE:
        return NetworkDriveReason;
    case DRIVE_CDROM:
        return OpticalDriveReason;
    case DRIVE_RAMDISK:
        return RamDiskReason;
    case DRIVE_NO_ROOT_DIR:
        return NoSuchDriveReason;
    default:
        return UnknownDriveReason;
    }
}

bool MayBeFlashStorage(const std::wstring& root) {
    return DriveTypeOf(root) == DRIVE_REMOVABLE || QuerySeekPenalty(root) != SeekPenalty::Incurred;
}

bool ConfirmFlashFreeSpace(HWND owner, const std::wstring& root) {
    const std::wstring text = Formatted(FlashStorageFormat, root, root);
    return MessageBoxW(owner, text.c_str(), FlashStorageCaption,
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

std::wstring VolumeKeyOf(const std::wstring& root) {
    wchar_t name[VolumeGuidPathLength] = {};
    if (GetVolumeNameForVolumeMountPointW(root.c_str(), name, VolumeGuidPathLength)) {
        return name;
    }
    return UpperCase(root);
}
