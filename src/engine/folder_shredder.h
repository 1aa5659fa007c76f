// Walks folder trees: counts the progress steps of a folder and shreds it depth first.
#pragma once

#include "engine/item_checks.h"
#include "engine/item_identity.h"
#include "engine/overwrite_methods.h"
#include "engine/shred_progress.h"

#include <string>

// Results of ShredFolder.
constexpr int ShredFolderRemoved = 0;      // walked, and the folder with everything in it is gone
constexpr int ShredFolderIncomplete = 2;   // walked, but something could not be destroyed:
                                           // the folder remains under path
constexpr int ShredFolderCancelled = 3;    // stopped by cancel: the folder remains under its
                                           // current name, not renamed, with what was not yet done
constexpr int ShredFolderNotListed = -1;   // not a usable full path, not a folder, a link (left
                                           // alone, one step), or could not be listed (no step):
                                           // nothing in it was touched
constexpr int ShredFolderNotTheChosen = 4; // another folder than the one chosen: not touched

// The number of progress steps ShredFolder will take for the folder at path: one per file and
// one per folder of the tree, the folder itself included; a link inside it is one item and is
// not followed. A folder that cannot be listed counts 1. Any depth: the walk keeps its levels on
// the heap.
int CountShredItems(std::wstring path);

// Shreds the folder at path (a full path) and everything in it, depth first, showing each name
// and taking each step on progress. Every item is opened relative to its
// folder's handle and renamed and removed through its own handle. Links are never followed:
// each one is shown and stepped once; a link to another name (symbolic link, junction, mount
// point) is removed as itself, any other reparse point is left whole. A file with other names
// (hard links) is left whole, and so is its folder. A folder's own named streams are overwritten
// like a file's before its renames; one that cannot be listed or written keeps the folder where
// it is, not renamed. Items that stay keep their attributes. Once
// progress asks to stop, a file in the middle of a pass stops within one chunk and stays whole
// beyond it; the walk then neither walks on nor renames or removes any folder
// (ShredFolderCancelled). On return path holds the folder's current path.
int ShredFolder(std::wstring& path, ShredMethod method, ShredProgress& progress);

// ShredFolder with the folder's parent already open (located at parentLocation); with chosen, a
// folder of another identity is not touched (ShredFolderNotTheChosen), and a folder left in
// place after its renames leaves its identity as it is now in chosen.
int ShredFolderInFolder(std::wstring& path, ShredMethod method, ShredProgress& progress,
                        HANDLE parent, const ItemLocation& parentLocation, ItemId* chosen);
