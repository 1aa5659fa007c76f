// Opening items relative to their folder's handle and making sure a handle is the very item
// that folder names, and not something a link leads to.
#pragma once

#include "engine/handles.h"

#include <string>

// Where an open item is: its full name as the system reports it for the handle (links resolved),
// volume included, e.g. "\Device\HarddiskVolume2\users\me\file.txt".
struct ItemLocation {
    std::wstring path;
};

// What the checks learn of an open item besides its location.
struct ItemFacts {
    DWORD attributes = 0;
    DWORD links = 0; // how many names the item has
};

// Access to an item before its data is touched: enough to check it, reset its attributes,
// rename and delete it. No data access, so that a read-only file opens on Windows too.
constexpr DWORD ItemAccess = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;

// Access to a folder that is walked and emptied. No delete access: while a handle to a folder
// holds it, no entry of the folder can be renamed with the folder as root (see RenameByHandle);
// the folder's own rename and removal go through a second handle, opened when their turn comes.
constexpr DWORD FolderAccess =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens the folder that holds the item at path (a usable full path) by that folder's path,
// following any links among the item's ancestors, which are the user's own choice, and locates
// it. Invalid when it cannot be opened or located.
FileHandle OpenParentFolder(const std::wstring& path, ItemLocation& folder);

// Opens the entry name of the open folder (or a stream of an open file) as itself, never what
// a link there points to.
FileHandle OpenEntry(HANDLE folder, const std::wstring& name, DWORD access, DWORD share,
                     DWORD options = 0);

// OpenEntry for an item that another program may hold for a moment (an indexer, a preview pane,
// a scanner, a sync client): a sharing violation is tried again a few times over about a second,
// unless the job asks to stop (StopRequested) meanwhile.
FileHandle OpenEntryWhenFree(HANDLE folder, const std::wstring& name, DWORD access, DWORD share,
                             DWORD options = 0);

// Opens a data stream of the open, checked file or folder for overwriting, relative to its
// handle: a file's main stream for an empty name, or ":name:$DATA". Relative to the handle, so
// it is the same item whatever happened to its name meanwhile. Sharing only deletion (which the
// item's handle holds) makes this fail while another process holds the stream open, and keeps
// everyone else's data access out until the item is gone. Waits for a brief holder
// (OpenEntryWhenFree).
FileHandle OpenDataStream(HANDLE item, const std::wstring& stream = std::wstring());

// Locates an open item and reads its facts; false when either cannot be had.
bool LocateHandle(HANDLE handle, ItemLocation& location, ItemFacts& facts);

enum class ItemIdentity {
    Itself,       // the handle is the item named name in folder, and no link
    Link,         // a reparse point, or a handle that resolved somewhere else: leave it alone
    Unverifiable, // the handle cannot be examined
};

// Examines a handle opened as the entry name of the open folder folderHandle, located at folder.
// A Linux symbolic link under Wine opens as its target and shows no reparse attribute; its
// location then differs from the expected one. Fills facts and, for Itself, location.
ItemIdentity IdentifyItem(HANDLE handle, HANDLE folderHandle, const std::wstring& name,
                          const ItemLocation& folder, ItemFacts& facts, ItemLocation& location);
