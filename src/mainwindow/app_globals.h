// The two process-wide handles of the main window, written at start-up and read by the window's
// own parts (the job is handed its window instead).
#pragma once

#include <windows.h>

extern HINSTANCE AppInstance;
extern HWND MainWindowHandle;
