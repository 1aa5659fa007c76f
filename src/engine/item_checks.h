// Making sure a handle is the very item a path names, and not something a link leads to.
#pragma once

#include "engine/handles.h"

#include <string>

// Where an open item is: its volume, and its path on that volume as the file system reports it
// for the handle (links resolved), e.g. "\users\me\file.txt".
struct ItemLocation {
    DWORD volumeSerial = 0;
    std::wstring path;
};

// The location of the folder that holds the item at path (a usable full path), following any
// links among the item's ancestors, which are the user's own choice; false when unknown.
bool LocateParent(const std::wstring& path, ItemLocation& folder);

// Opens the item itself (never what a link points to) with no access to its data and sharing
// everything, just to look at it.
FileHandle OpenForInspection(const std::wstring& path);

enum class ItemIdentity {
    Itself,       // the handle is the item named by path in folder, and no link
    Link,         // a reparse point, or a handle that resolved somewhere else: leave it alone
    Unverifiable, // the handle cannot be examined
};

// Examines a handle opened on path, expected to be the entry of that name in folder. A Linux
// symbolic link under Wine opens as its target and shows no reparse attribute; its location then
// differs from the expected one. Fills info and, for Itself, location.
ItemIdentity IdentifyItem(HANDLE handle, const std::wstring& path, const ItemLocation& folder,
                          BY_HANDLE_FILE_INFORMATION& info, ItemLocation& location);
