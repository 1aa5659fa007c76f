#include "mainwindow/listed_items.h"

#include "engine/long_path.h"
#include "mainwindow/shred_list.h"

#include <windows.h>

#include <functional>
#include <string_view>

std::wstring FoldCase(const std::wstring& text) {
    if (text.empty()) {
        return text;
    }
    // Upper-casing maps each character to one of the same length: the text keeps its size.
    std::wstring folded(text.size(), L'\0');
    const int length = static_cast<int>(text.size());
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(), length, folded.data(),
                      length, nullptr, nullptr, 0) != length) {
        return text;
    }
    return folded;
}

std::wstring FoldedPathKey(const std::wstring& path) {
    return FoldCase(ExtendedPath(path));
}

std::size_t ItemIdHash::operator()(const ItemId& id) const {
    const std::string_view bytes(reinterpret_cast<const char*>(id.fileId.data()), id.fileId.size());
    return std::hash<std::string_view>{}(bytes) ^ std::hash<std::uint64_t>{}(id.volumeSerial);
}

void ListedItems::Insert(const std::wstring& path, const ItemId* id, bool mayHoldItems) {
    paths_.emplace(FoldedPathKey(path), path);
    if (id) {
        ids_.insert(*id);
    }
    anyMayHoldItems_ = anyMayHoldItems_ || (id && mayHoldItems);
}

bool ListedItems::HoldsPath(const std::wstring& path) const {
    // A listed folder that holds the path is a head of it that ends before one of its backslashes.
    const std::wstring key = FoldedPathKey(path);
    for (std::size_t end = key.find(L'\\');; end = key.find(L'\\', end + 1)) {
        const auto [first, last] = paths_.equal_range(key.substr(0, end));
        for (auto listed = first; listed != last; ++listed) {
            if (SameOrInside(path, listed->second)) {
                return true;
            }
        }
        if (end == std::wstring::npos) {
            return false;
        }
    }
}

bool ListedItems::HoldsItem(const ItemId& id) const {
    return ids_.count(id) != 0;
}

bool ListedItems::HoldsAFolderOf(const std::wstring& path) {
    // Only a row that may hold items can be one of them: without such a row no folder of the path
    // is opened at all.
    if (!anyMayHoldItems_) {
        return false;
    }
    for (std::wstring folder = ParentOf(path); !folder.empty(); folder = ParentOf(folder)) {
        auto [known, added] = folders_.try_emplace(folder);
        if (added) {
            ItemId id;
            if (ReadItemIdAtPath(folder, id)) {
                known->second = id;
            }
        }
        if (known->second && HoldsItem(*known->second)) {
            return true;
        }
    }
    return false;
}
