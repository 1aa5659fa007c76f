// The file shredder as the folder walk calls it, with the holding folder already open.
#pragma once

#include "engine/handles.h"
#include "engine/item_checks.h"
#include "engine/item_identity.h"
#include "engine/overwrite_methods.h"

#include <string>

// ShredFile for the entry of the open folder folderHandle (located at folder) whose usable full
// path is path, without progress. With chosen, a file of another identity is left as it was
// (ShredFileNotTheChosen), and a file left in place after its renames leaves its identity as it
// is now in chosen.
int ShredFileInFolder(std::wstring& path, ShredMethod method, HANDLE folderHandle,
                      const ItemLocation& folder, ItemId* chosen = nullptr);

// The entry name of the open folder folderHandle (located at folder) opened as ShredFileInFolder
// opens a file, with ItemAccess and sharing of reading and writing only, after a brief holder
// when waitForHolder (OpenEntryWhenFree): valid only when IdentifyItem finds it Itself, with facts,
// and it is no folder. Nothing about the item is changed.
FileHandle OpenPlainFile(HANDLE folderHandle, const std::wstring& name, const ItemLocation& folder,
                         ItemFacts& facts, bool waitForHolder);

// What ShredFileInFolder does once its checks have passed: file was opened as the entry of
// folderHandle with ItemAccess and sharing of reading and writing only, IdentifyItem found it
// Itself with facts, it is no folder, and it is the chosen item (if any).
int ShredCheckedFile(FileHandle file, const ItemFacts& facts, std::wstring& path,
                     ShredMethod method, HANDLE folderHandle, ItemId* chosen);
