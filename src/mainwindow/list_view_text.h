// Reading and writing one text of a list-view item. Every call is a synchronous message to the
// control, so another thread may make it while the control's own thread runs a message loop.
#pragma once

#include <windows.h>

#include <string>

// The whole text of column `column` of row `row`, however long: a path may run to 32,767
// characters, and the buffer grows until the text fits.
std::wstring ListViewItemText(HWND list, int row, int column);

void SetListViewItemText(HWND list, int row, int column, const std::wstring& text);
