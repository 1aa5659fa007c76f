// Telling a folder that may be walked from a link that must be left alone, and listing it.
#pragma once

#include "engine/item_checks.h"

#include <memory>
#include <string>

enum class FolderIdentity {
    Folder,     // the folder itself: location says where it is
    Link,       // a link, or an entry that resolves somewhere else: one item, never walked
    Unreachable // cannot be opened or examined: treated as a folder that cannot be listed
};

// Opens the entry name of the open folder parent (located at parentLocation) as a folder with
// access (falling back to just listing it when the platform refuses that access), and examines
// it. listedId is the entry's FileId from the parent's listing, or 0 when it was not listed. For
// Folder, opened holds it, location is parentLocation joined with name and attributes are its
// own.
FolderIdentity OpenFolder(HANDLE parent, const std::wstring& name,
                          const ItemLocation& parentLocation, LONGLONG listedId, DWORD access,
                          FileHandle& opened, ItemLocation& location, DWORD& attributes);

// Opens the entry name of the open folder parent with delete access, to rename and remove it,
// waiting for a brief holder (OpenEntryWhenFree), and checks that it is the folder walked (open
// as walked): the same index number on the same volume. Invalid when it cannot be opened or is
// any other item.
FileHandle OpenFolderToRemove(HANDLE parent, const std::wstring& name, HANDLE walked);

// One entry of a folder listing.
struct ListedEntry {
    std::wstring name;
    DWORD attributes = 0;
    DWORD reparseTag = 0; // for a reparse point: its tag
    LONGLONG fileId = 0;  // its index number on the volume, where the file system gives one
};

// One pass over an open folder's entries through its handle, in the platform's order, as many
// as 64 KiB hold at a time (read into one buffer of the thread and kept in a copy just as long),
// without sorting or collecting them.
class FolderListing {
public:
    // The next entry, "." and ".." included; false at the end or when the folder cannot be
    // listed (Refused then tells).
    bool Next(HANDLE folder, ListedEntry& entry);
    bool Refused() const { return refused_; }

private:
    std::unique_ptr<unsigned char[]> entries_;
    std::size_t size_ = 0;
    std::size_t offset_ = 0;
    bool started_ = false;
    bool filled_ = false;
    bool ended_ = false;
    bool refused_ = false;
};

// Whether a listing entry is a link or another reparse point, by its attributes alone.
bool IsLinkEntry(unsigned long attributes);

// Whether a listing entry is a folder to walk: a folder that is no reparse point.
bool IsWalkedFolderEntry(const ListedEntry& entry);

// Whether a listing entry names the folder itself or its parent.
bool IsDotEntry(const std::wstring& name);
