// What one add learns of each of its items before it applies its rules: for an add of many, read
// ahead on a few worker threads, since each reading mostly waits on the file system and several
// overlap well. The rules stay on the window's thread, which takes the readings in the paths'
// order.
#pragma once

#include "engine/item_identity.h"

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// What adding an item reads of it: its identity and where its path led (ReadAddedItem), and the
// attributes and size found there.
struct AddedItemReading {
    ItemReading reading = ItemReading::Unopenable;
    ItemId id;
    std::wstring finalPath;
    bool hasAttributes = false;
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
};

// Reads it on the calling thread.
// folders: what the add learned of the folders that hold its items.
AddedItemReading ReadItemToAdd(const std::wstring& path, AddedItemFolders& folders);

// Enough to overlap the file system's waits; more only contend for it.
inline constexpr std::size_t ItemReadingThreads = 4;
// An add with fewer items to read reads them on the window's thread, as they come.
inline constexpr std::size_t ItemsWorthReadingAhead = 8;
// How long the window's thread sleeps before it looks again for a reading not yet ready (on Windows
// up to a timer tick, about 16 ms).
inline constexpr DWORD ItemReadingPollMs = 1;

// The readings of one add's paths. Only paths that may name an item are read: never a volume's
// root, never a path that is not a usable full path. The workers stop, and are waited for, when
// the object goes, however early the add ends.
class ItemReadings {
public:
    explicit ItemReadings(const std::vector<std::wstring>& paths);
    ~ItemReadings();
    ItemReadings(const ItemReadings&) = delete;
    ItemReadings& operator=(const ItemReadings&) = delete;

    // The reading of paths[index]; calls whileWaiting between short waits until it is ready.
    AddedItemReading Take(std::size_t index, const std::function<void()>& whileWaiting);

private:
    enum class SlotState { Pending, Ready, Failed };
    struct Slot {
        std::atomic<SlotState> state{SlotState::Pending};
        AddedItemReading reading;
    };

    void Work() noexcept;

    const std::vector<std::wstring>& paths_;
    AddedItemFolders folders_;
    std::vector<bool> toRead_;
    std::unique_ptr<Slot[]> slots_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> stop_{false};
    std::vector<std::thread> workers_;
};
