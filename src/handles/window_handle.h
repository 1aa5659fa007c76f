// Windows that their creator destroys.
#pragma once

#include "handles/unique_handle.h"

#include <windows.h>

struct WindowHandleTraits : NullIsEmpty<HWND> {
    static void Close(HWND window) { DestroyWindow(window); }
};

using WindowHandle = UniqueHandle<WindowHandleTraits>;
