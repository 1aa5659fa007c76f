// Shutdown block reasons set on a window with ShutdownBlockReasonCreate.
#pragma once

#include "handles/unique_handle.h"

#include <windows.h>

struct ShutdownBlockReasonTraits : NullIsEmpty<HWND> {
    static void Close(HWND window) { ShutdownBlockReasonDestroy(window); }
};

using ShutdownBlockReason = UniqueHandle<ShutdownBlockReasonTraits>;
