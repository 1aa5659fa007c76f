#include "mainwindow/item_readings.h"

#include "engine/long_path.h"
#include "mainwindow/free_space_roots.h"

#include <algorithm>
#include <iterator>
#include <system_error>
#include <utility>

namespace {

// A volume's root adds the row of its free space, and a path that is not a usable full path no
// row: neither is read as an item.
bool MayNameAnItem(const std::wstring& path) {
    return VolumeRootOf(path).empty() && IsUsableFullPath(path);
}

} // namespace

AddedItemReading ReadItemToAdd(const std::wstring& path, AddedItemFolders& folders) {
    AddedItemReading read;
    read.reading = ReadAddedItem(path, read.id, read.finalPath, folders);
    if (read.reading == ItemReading::Read) {
        read.hasAttributes = GetFileAttributesExW(ExtendedPath(read.finalPath).c_str(),
                                                  GetFileExInfoStandard, &read.attributes) != FALSE;
    }
    return read;
}

ItemReadings::ItemReadings(const std::vector<std::wstring>& paths) : paths_(paths) {
    toRead_.reserve(paths.size());
    std::transform(paths.begin(), paths.end(), std::back_inserter(toRead_), MayNameAnItem);
    const auto items = static_cast<std::size_t>(std::count(toRead_.begin(), toRead_.end(), true));
    if (items < ItemsWorthReadingAhead) {
        return;
    }
    slots_ = std::make_unique<Slot[]>(paths.size());
    const std::size_t threads = std::min(ItemReadingThreads, items);
    workers_.reserve(threads);
    for (std::size_t started = 0; started < threads; ++started) {
        try {
            workers_.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            // Those that started read everything; with none, the window's thread reads.
            break;
        }
    }
}

ItemReadings::~ItemReadings() {
    stop_ = true;
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

void ItemReadings::Work() noexcept {
    for (std::size_t index = next_++; index < paths_.size() && !stop_; index = next_++) {
        if (!toRead_[index]) {
            continue;
        }
        Slot& slot = slots_[index];
        try {
            slot.reading = ReadItemToAdd(paths_[index], folders_);
            slot.state.store(SlotState::Ready, std::memory_order_release);
        } catch (...) {
            // The window's thread reads it again, where whatever failed can be handled.
            slot.state.store(SlotState::Failed, std::memory_order_release);
        }
    }
}

AddedItemReading ItemReadings::Take(std::size_t index, const std::function<void()>& whileWaiting) {
    // A path the workers skip is read here, should it be asked for at all.
    if (workers_.empty() || !toRead_[index]) {
        return ReadItemToAdd(paths_[index], folders_);
    }
    Slot& slot = slots_[index];
    for (;;) {
        switch (slot.state.load(std::memory_order_acquire)) {
        case SlotState::Ready:
            return std::move(slot.reading);
        case SlotState::Failed:
            return ReadItemToAdd(paths_[index], folders_);
        case SlotState::Pending:
            break;
        }
        // A short sleep rather than a wake-up per reading: the workers keep going meanwhile, and
        // the readings that gather are taken without waiting.
        Sleep(ItemReadingPollMs);
        whileWaiting();
    }
}
