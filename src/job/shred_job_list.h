// What a shred job needs from the window whose list it works through, and nothing more.
#pragma once

#include "engine/item_identity.h"
#include "engine/overwrite_methods.h"

#include <windows.h>

#include <string>

// What a row stands for: an item the user chose, or the free space of a volume.
enum class JobRowKind { Item, FreeSpace };

// The rows of a job, the method to use and the window that owns the job's dialogs. The job calls
// it only on the window's thread: it takes the rows, their identities and the method once before
// its dialog, and brings the rows up to date once its worker is gone.
class ShredJobList {
public:
    virtual ~ShredJobList() = default;

    // Owns the progress dialog and the report; disabled while the dialog stands.
    virtual HWND Owner() const = 0;
    virtual int RowCount() const = 0;
    // The row's path, whole.
    virtual std::wstring RowPath(int row) const = 0;
    // The identity of the item the user chose for the row, recorded when the row was added; false
    // when the row has none.
    virtual bool RowIdentity(int, ItemId&) const { return false; }
    // The root ("D:\") of the volume whose free space the row stands for; empty for an item's row.
    virtual std::wstring RowFreeSpaceRoot(int) const { return {}; }
    // The row's item now stands at path with identity id: the row shows its name and path, and
    // the next job and the next add know it by id.
    virtual void SetRowItem(int row, const std::wstring& path, const ItemId& id) = 0;
    virtual void DeleteRow(int row) = 0;
    // The overwrite method the user chose; read once, with the rows.
    virtual ShredMethod CheckedMethod() const = 0;
    // Many rows are about to change (true) or are done changing (false): the list may draw
    // nothing meanwhile, and draw once at the end.
    virtual void HoldDrawing(bool) {}
};
