// The main window (template 102): the shred list, the method buttons and the commands.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What the main window is started with: its init parameter points at one, or is 0 for nothing.
struct MainWindowStart {
    // Added to the list as the window opens, with the checks of a drop.
    std::vector<std::wstring> paths;
    // Folders at drives' roots that look like a free-space wipe's fill but were left alone; the
    // user is told where, once the window is on screen.
    std::vector<std::wstring> fillFoldersLeft = {};
};

INT_PTR CALLBACK MainDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
