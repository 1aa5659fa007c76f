// The two process-wide handles, written before any job and read by the job and the status bar.
#pragma once

#include <windows.h>

extern HINSTANCE AppInstance;
extern HWND MainWindowHandle;
