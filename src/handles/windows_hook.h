// Hooks set with SetWindowsHookExW.
#pragma once

#include "handles/unique_handle.h"

#include <windows.h>

struct WindowsHookTraits : NullIsEmpty<HHOOK> {
    static void Close(HHOOK hook) { UnhookWindowsHookEx(hook); }
};

using WindowsHook = UniqueHandle<WindowsHookTraits>;
