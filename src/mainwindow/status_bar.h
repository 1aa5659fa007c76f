// The two-part status bar (control 1006) along the bottom of the main window.
#pragma once

#include <windows.h>

#include <array>

extern HWND StatusBar;

// Right edges of the two parts for a client area w pixels wide: 88 % of w (rounded down), w.
std::array<int, 2> StatusBarPartEdges(int clientWidth);

// Creates the bar on MainWindowHandle with "Ready" and "Version 1.0"; called once the window
// has its final size.
void CreateStatusBar();
