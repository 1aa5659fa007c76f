// Walks folder trees: counts the progress steps of a folder and shreds it depth first.
#pragma once

#include "engine/overwrite_methods.h"

#include <atomic>
#include <string>

// Results of ShredFolder.
constexpr int ShredFolderRemoved = 0;    // walked, and the folder with everything in it is gone
constexpr int ShredFolderIncomplete = 2; // walked and renamed, but something could not be
                                         // destroyed: the folder remains under path
constexpr int ShredFolderCancelled = 3;  // stopped by cancel: the folder remains under its
                                         // current name, not renamed, with what was not yet done
constexpr int ShredFolderNotListed = -1; // not a usable full path, not a folder, a link (left
                                         // alone, one step), or could not be listed (no step):
                                         // nothing in it was touched

// The number of progress steps ShredFolder will take for the folder at path: one per file and
// one per folder of the tree, the folder itself included; a link inside it is one item and is
// not followed. A folder that cannot be listed counts 1. Any depth: the walk keeps its levels on
// the heap.
int CountShredItems(std::wstring path);

// Shreds the folder at path (a full path) and everything in it, depth first, reporting each name
// on control 1014 and each step on control 1013 of progress. Every item is opened relative to its
// folder's handle and renamed and removed through its own handle. Links are never followed:
// each one is shown and stepped once; a link to another name (symbolic link, junction, mount
// point) is removed as itself, any other reparse point is left whole. A file with other names
// (hard links) is left whole, and so is its folder. Items that stay keep their attributes. Once
// cancel is set it finishes the entry at hand, then neither walks on nor renames or removes any
// folder (ShredFolderCancelled). On return path holds the folder's current path.
int ShredFolder(std::wstring& path, ShredMethod method, HWND& progress,
                const std::atomic<bool>* cancel = nullptr);
