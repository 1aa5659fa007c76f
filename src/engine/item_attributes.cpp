#include "engine/item_attributes.h"

#include "engine/file_system.h"

#include <utility>

namespace {

// What an item is and how its data is stored, which the system keeps for itself and no
// application sets through FILE_BASIC_INFO: the kind of item, sparse, reparse, compressed,
// encrypted, integrity, virtual and the two recall flags of cloud files.
constexpr DWORD FileAttributeIntegrityStream = 0x8000;
constexpr DWORD FileAttributeRecallOnOpen = 0x40000;
constexpr DWORD FileAttributeRecallOnDataAccess = 0x400000;
constexpr DWORD KeptBySystem =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_SPARSE_FILE |
    FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_ENCRYPTED |
    FileAttributeIntegrityStream | FILE_ATTRIBUTE_VIRTUAL | FILE_ATTRIBUTE_NORMAL |
    FileAttributeRecallOnOpen | FileAttributeRecallOnDataAccess;

// The attributes every file system that has attributes lets an application set.
constexpr DWORD ClassicSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool SetAttributes(HANDLE item, DWORD attributes) {
    // Zero times leave the item's times as they are; zero attributes would mean "unchanged".
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
    return FileSystem.SetFileInformationByHandle(item, FileBasicInfo, &basic, sizeof(basic)) !=
           FALSE;
}

} // namespace

AttributesReset::AttributesReset(HANDLE item, DWORD original) : item_(item), original_(original) {
    SetAttributes(item_, FILE_ATTRIBUTE_NORMAL);
}

AttributesReset::~AttributesReset() {
    if (item_ == nullptr) {
        // Gone: nothing to give back.
        return;
    }
    // Resetting to normal cleared every attribute the file system lets an application set,
    // newer ones such as pinned and unpinned included; a file system that refuses one it does
    // not know gets the classic ones back at least.
    const DWORD wanted = original_ & ~KeptBySystem;
    if (!SetAttributes(item_, wanted) && (wanted & ~ClassicSettable) != 0) {
        SetAttributes(item_, wanted & ClassicSettable);
    }
}

AttributesReset::AttributesReset(AttributesReset&& other) noexcept
    : item_(std::exchange(other.item_, nullptr)), original_(other.original_) {}
