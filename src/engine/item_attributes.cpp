#include "engine/item_attributes.h"

#include "engine/file_system.h"

#include <utility>

namespace {

// The attributes that can be set; a folder's or a reparse point's kind is not among them.
constexpr DWORD SettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                     FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                     FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_TEMPORARY |
                                     FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

void SetAttributes(HANDLE item, DWORD attributes) {
    // Zero times leave the item's times as they are; zero attributes would mean "unchanged".
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = (attributes & SettableAttributes) != 0 ? attributes & SettableAttributes
                                                                  : FILE_ATTRIBUTE_NORMAL;
    FileSystem.SetFileInformationByHandle(item, FileBasicInfo, &basic, sizeof(basic));
}

} // namespace

AttributesReset::AttributesReset(HANDLE item, DWORD original) : item_(item), original_(original) {
    SetAttributes(item_, FILE_ATTRIBUTE_NORMAL);
}

AttributesReset::~AttributesReset() {
    if (item_ != nullptr) {
        SetAttributes(item_, original_);
    }
}

AttributesReset::AttributesReset(AttributesReset&& other) noexcept
    : item_(std::exchange(other.item_, nullptr)), original_(other.original_) {}
