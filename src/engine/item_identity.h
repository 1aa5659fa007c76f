// Which item on which volume: what a row records when the user picks an item, and what the engine
// compares with the item it has opened before it changes anything.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

// The volume's serial number and the item's file id on it: the 128-bit id where the volume gives
// one (FileIdInfo), otherwise the 64-bit index number in its low eight bytes.
struct ItemId {
    std::uint64_t volumeSerial = 0;
    std::array<std::uint8_t, 16> fileId{};

    bool operator==(const ItemId&) const = default;
};

// The identity of the open item; false, with the last error set, when it cannot be read. Goes
// through the engine's file-system table.
bool ReadItemId(HANDLE item, ItemId& id);

// The identity of the item at a usable full path, opened without following a link at its name
// (a link is itself the item; the path's ancestors are followed). False, with the last error set,
// when it cannot be opened or read.
bool ReadItemIdAtPath(const std::wstring& path, ItemId& id);
