// The main window (template 102): the shred list, the method buttons and the commands.
#pragma once

#include <windows.h>

INT_PTR CALLBACK MainDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
