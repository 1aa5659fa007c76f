#include "mainwindow/app_globals.h"

HINSTANCE AppInstance = nullptr;
HWND MainWindowHandle = nullptr;
