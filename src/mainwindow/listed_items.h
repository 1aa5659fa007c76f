// What the shred list holds, as one add of many items asks it: keyed sets of the listed paths and
// identities, built once per add, so that each "already listed" check is a few look-ups however
// many rows there are. A path's key is folded exactly as the list's comparison folds case, and
// every match of keys is confirmed by that comparison.
#pragma once

#include "engine/item_identity.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

// The path as SamePath compares it: its extended-length form, each character upper-cased by the
// system's own table, as CompareStringOrdinal ignoring case does.
std::wstring FoldedPathKey(const std::wstring& path);
// Upper-cases text by the system's table (LCMapStringEx, invariant, LCMAP_UPPERCASE).
std::wstring FoldCase(const std::wstring& text);

struct ItemIdHash {
    std::size_t operator()(const ItemId& id) const;
};

class ListedItems {
public:
    // A listed row: its path, its identity when it has one, and whether a path may lead through
    // it (a folder, a link, or an item whose attributes were unreadable).
    void Insert(const std::wstring& path, const ItemId* id, bool mayHoldItems);

    // The path is listed, or lies inside a listed folder, by its spelling.
    bool HoldsPath(const std::wstring& path) const;
    // A row names this item.
    bool HoldsItem(const ItemId& id) const;
    // One of the path's folders is a listed item, however the row spells it (another case, a
    // short name). Each folder's identity is read once for the whole add.
    bool HoldsAFolderOf(const std::wstring& path);

private:
    // Folded key to the paths as listed under it.
    std::unordered_multimap<std::wstring, std::wstring> paths_;
    std::unordered_set<ItemId, ItemIdHash> ids_;
    // A folder's path, as the paths of this add spell it, to its identity; empty when unreadable.
    std::unordered_map<std::wstring, std::optional<ItemId>> folders_;
    bool anyMayHoldItems_ = false;
};
