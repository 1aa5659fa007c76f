// The job's view of the main window's shred list: row count, a row's path, and the rows' update
// once the job is over. Every call is a synchronous message to the list, so the worker thread
// may make them while the main thread runs the progress dialog's modal loop.
#pragma once

#include <windows.h>

#include <string>

// The shred list of the main window.
HWND ShredListOf(HWND mainWindow);

int ShredListRowCount(HWND list);

// The row's full text 1 (its path), however long it is.
std::wstring ShredListRowPath(HWND list, int row);

// Shows the row's item at path: text 0 the name, text 1 the path.
void SetShredListRowPath(HWND list, int row, const std::wstring& path);

void DeleteShredListRow(HWND list, int row);

// The part of the path after its last backslash, or the whole path when there is none or the
// backslash ends it.
std::wstring ShredItemName(const std::wstring& path);
