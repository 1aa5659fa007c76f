// The main window (template 102): the shred list, the method buttons and the commands.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What the main window is started with: its init parameter points at one, or is 0 for nothing.
struct MainWindowStart {
    // Added to the list as the window opens, with the checks of a drop.
    std::vector<std::wstring> paths;
};

INT_PTR CALLBACK MainDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
