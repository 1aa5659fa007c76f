// The folder that holds the chosen items a job reaches one after another, kept open while they
// lie in it: a job of many files of one folder opens and locates that folder once, and learns
// once how its volume names items, so that each file's identity is checked for a few calls.
#pragma once

#include "engine/handles.h"
#include "engine/item_checks.h"
#include "engine/item_identity.h"

#include <string>

class HeldFolder {
public:
    HeldFolder() = default;
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;

    // Holds the folder that holds the item at path (a usable full path), as OpenParentFolder opens
    // it: the one held already when its path is spelled the same, otherwise the held one is closed
    // first (a later item may be that very folder, to be removed) and this one opened. False, with
    // nothing held, when it cannot be opened or located.
    bool HoldParentOf(const std::wstring& path);
    void Release();

    HANDLE Handle() const { return handle_.Get(); }
    const ItemLocation& Location() const { return location_; }

    // True when item, opened relative to the held folder as its entry and examined as Itself, is
    // the item chosen. Where the volume's file system gives every item a 64-bit id only, the
    // 128-bit id is that id with zeros above, so the item's 64-bit index and the folder's volume
    // serial number settle it; anything else, and any doubt, is settled by reading the item's
    // identity whole. A mismatch is never decided by the short way.
    bool IsChosen(HANDLE item, const ItemId& chosen) const;

private:
    std::wstring path_;
    FileHandle handle_;
    ItemLocation location_;
    // The volume serial number as the folder's own identity gives it; meaningful only with
    // shortIds_.
    std::uint64_t volumeSerial_ = 0;
    bool shortIds_ = false;
};
