// Which item on which volume: what a row records when the user picks an item, and what the engine
// compares with the item it has opened before it changes anything.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

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

// True where the open folder's volume gives its items 64-bit ids only, which their 128-bit ids
// extend with zeros (NTFS, FAT, exFAT), as the folder's own two ids show; volumeSerial is then the
// serial number its identity carries. An item of that folder is then told by that serial and its
// 64-bit index alone.
bool ReadShortIdVolume(HANDLE folder, std::uint64_t& volumeSerial);

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

// What one add of many items learns once of each folder that holds some, for the threads that read
// the items: the folder's final path, which an item's is compared with, and whether its volume
// gives 64-bit ids (ReadShortIdVolume). An item found in such a folder takes its index with the
// folder's volume serial, the identity that reading it whole gives, at a fraction of the cost.
class AddedItemFolders {
public:
    struct Facts {
        std::wstring finalPath; // empty when it cannot be read
        bool shortIds = false;
        std::uint64_t volumeSerial = 0; // meaningful only with shortIds
    };

    // The folder at folderPath (a parent folder's path as given), read at its first use.
    Facts Of(const std::wstring& folderPath);

private:
    std::mutex mutex_;
    std::unordered_map<std::wstring, Facts> folders_;
};

// ReadAddedItem for one item of an add of many, with what is known of its folder.
ItemReading ReadAddedItem(const std::wstring& path, ItemId& id, std::wstring& finalPath,
                          AddedItemFolders& folders);

// A final path as users write it: "\\?\C:\a" as "C:\a", "\\?\UNC\server\share\a" as
// "\\server\share\a"; a volume's GUID path stays as it is. Empty unless the result is a usable full
// path.
std::wstring ShownFinalPath(const std::wstring& finalPath);
