// Shredding the item the user chose, and only that item: the one a row recorded the identity of
// when it was added.
#pragma once

#include "engine/held_folder.h"
#include "engine/item_identity.h"
#include "engine/overwrite_methods.h"
#include "engine/shred_progress.h"

#include <string>

enum class ChosenItemResult {
    Destroyed,    // the file was deleted or the folder removed
    Missing,      // nothing could be opened under path: nothing was done
    NotTheChosen, // the item under path is another one than chosen: nothing was touched
    NotDestroyed, // shredded in part or not at all (held elsewhere, other names, a link, a
                  // failure, a stop): it remains under path
};

// Opens the item at path (a usable full path) relative to its parent folder's handle without
// following a link at its name, and before anything changes compares its identity with chosen;
// then shreds it as a file (ShredFile's name and step) or as a folder (ShredFolder's names and
// steps), as the open handle says it is. The working handle is checked against chosen again, so
// an item swapped in between is never touched. On return path holds the item's current path and
// chosen its current identity, which a rename changes where the volume derives ids from the place
// of the name (FAT, exFAT).
ChosenItemResult ShredChosenItem(std::wstring& path, ItemId& chosen, ShredMethod method,
                                 ShredProgress& progress);
// The same for one item of many, which are reached one after another: folder holds the folder of
// the item before, kept for the next item of the same folder. A plain file is opened once, with
// the access that shreds it, and checked on that handle.
ChosenItemResult ShredChosenItem(std::wstring& path, ItemId& chosen, ShredMethod method,
                                 ShredProgress& progress, HeldFolder& folder);

// True when chosen is null or the open item's identity can be read and equals it.
bool IsChosenItem(HANDLE item, const ItemId* chosen);
