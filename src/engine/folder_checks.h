// Telling a folder that may be walked from a link that must be left alone.
#pragma once

#include "engine/item_checks.h"

#include <string>

enum class FolderIdentity {
    Folder,     // the folder itself: location says where it is
    Link,       // a link, or a path that resolves somewhere else: one item, never walked
    Unreachable // cannot be opened or examined: treated as a folder that cannot be listed
};

// Examines the item at path (a usable full path) inside the folder at folder.
FolderIdentity IdentifyFolder(const std::wstring& path, const ItemLocation& folder,
                              ItemLocation& location);

// Whether a listing entry is a link by its attributes alone (a reparse point).
bool IsLinkEntry(unsigned long attributes);

// Whether a listing entry names the folder itself or its parent.
bool IsDotEntry(const wchar_t* name);
