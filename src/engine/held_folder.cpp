#include "engine/held_folder.h"

#include "engine/chosen_item.h"
#include "engine/long_path.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>
#include <iterator>

namespace {

// File systems whose items have 64-bit ids, which their 128-bit ids extend with zeros.
constexpr std::array<const wchar_t*, 4> ShortIdFileSystems = {L"NTFS", L"FAT", L"FAT32", L"exFAT"};

bool GivesShortIds(HANDLE folder) {
    wchar_t name[MAX_PATH + 1] = {};
    if (!FileSystem.GetVolumeInformationByHandleW(folder, nullptr, 0, nullptr, nullptr, nullptr,
                                                  name, static_cast<DWORD>(std::size(name)))) {
        return false;
    }
    return std::any_of(ShortIdFileSystems.begin(), ShortIdFileSystems.end(),
                       [&](const wchar_t* known) { return std::wcscmp(known, name) == 0; });
}

} // namespace

bool HeldFolder::HoldParentOf(const std::wstring& path) {
    const std::wstring parentPath = ParentFolderPath(path);
    if (handle_.IsValid() && parentPath == path_) {
        return true;
    }
    Release();
    handle_ = OpenParentFolder(path, location_);
    if (!handle_.IsValid()) {
        return false;
    }
    path_ = parentPath;
    ItemId folderId;
    shortIds_ = ReadItemId(handle_.Get(), folderId) && GivesShortIds(handle_.Get());
    volumeSerial_ = folderId.volumeSerial;
    return true;
}

void HeldFolder::Release() {
    handle_ = FileHandle();
    path_.clear();
    location_ = ItemLocation();
    shortIds_ = false;
}

bool HeldFolder::IsChosen(HANDLE item, const ItemId& chosen) const {
    constexpr std::size_t Half = sizeof(std::uint64_t);
    const auto upper = chosen.fileId.begin() + Half;
    LONGLONG index = 0;
    if (shortIds_ && chosen.volumeSerial == volumeSerial_ &&
        std::all_of(upper, chosen.fileId.end(), [](std::uint8_t b) { return b == 0; }) &&
        FileSystem.GetFileIndex(item, &index) &&
        std::memcmp(chosen.fileId.data(), &index, Half) == 0) {
        return true;
    }
    return IsChosenItem(item, &chosen);
}
