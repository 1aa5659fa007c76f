// Making sure a handle is the very item a path names, and not something a link leads to.
#pragma once

#include "engine/handles.h"

#include <string>

// The platform's final path of an open handle ("\\?\C:\..." form); empty when it cannot be had.
std::wstring FinalPathOf(HANDLE handle);

// The final path of the folder that holds the item at path (a usable full path), following any
// links among the item's ancestors, which are the user's own choice; empty when it cannot be had.
std::wstring ParentFinalPath(const std::wstring& path);

// Opens the item itself (never what a link points to) with no access to its data and sharing
// everything, just to look at it.
FileHandle OpenForInspection(const std::wstring& path);

enum class ItemIdentity {
    Itself,       // the handle is the item named by the expected final path, and no link
    Link,         // a reparse point, or a handle that resolved somewhere else: leave it alone
    Unverifiable, // the handle cannot be examined
};

// Examines an open handle that is expected to be the item whose final path is expectedFinalPath.
// Fills info when the handle could be examined.
ItemIdentity IdentifyHandle(HANDLE handle, const std::wstring& expectedFinalPath,
                            BY_HANDLE_FILE_INFORMATION& info);
