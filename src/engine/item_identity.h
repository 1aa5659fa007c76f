// Which item on which volume: what a row records when the user picks an item, and what the engine
// compares with the item it has opened before it changes anything.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

// The volume's serial number and the item's file id on it: the 128-bit id where the volume gives
// one (FileIdInfo), otherwise the 64-bit index number in its low eight bytes. An id of 0 or of all
// ones means the file system has none for the item: such a value is never an item's id.
struct ItemId {
    std::uint64_t volumeSerial = 0;
    std::array<std::uint8_t, 16> fileId{};

    bool operator==(const ItemId&) const = default;
};

// The identity of the open item; false, with the last error set, when it cannot be read or the
// volume gives the item no id (ERROR_NOT_SUPPORTED). Goes through the engine's file-system table.
bool ReadItemId(HANDLE item, ItemId& id);

// The identity of the item at a usable full path, opened without following a link at its name
// (a link is itself the item; the path's ancestors are followed). False, with the last error set,
// when it cannot be opened or read.
bool ReadItemIdAtPath(const std::wstring& path, ItemId& id);

// What adding an item learns of it, or why it cannot be added.
enum class ItemReading {
    Read,
    Unopenable,  // nothing at the path can be opened
    NoFileId,    // its volume gives it no id that tells it from any other item
    NoFinalPath, // where its path led cannot be read
};

// Opens the item at a usable full path as ReadItemIdAtPath does and reads through that one handle
// its identity and its final path (ShownFinalPath of GetFinalPathNameByHandleW): where the path
// led, every link and short name on the way resolved and every name spelled as on the disk; with
// the drive letter where the volume has one, else the volume's GUID path.
ItemReading ReadAddedItem(const std::wstring& path, ItemId& id, std::wstring& finalPath);

// A final path as users write it: "\\?\C:\a" as "C:\a", "\\?\UNC\server\share\a" as
// "\\server\share\a"; a volume's GUID path stays as it is. Empty unless the result is a usable full
// path.
std::wstring ShownFinalPath(const std::wstring& finalPath);
