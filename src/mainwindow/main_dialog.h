// The main window (template 102).
#pragma once

#include <windows.h>

INT_PTR CALLBACK MainDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
