#include "engine/held_folder.h"

#include "engine/chosen_item.h"
#include "engine/long_path.h"

#include <algorithm>
#include <cstring>

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
    shortIds_ = ReadShortIdVolume(handle_.Get(), volumeSerial_);
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
