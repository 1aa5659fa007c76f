// Listings opened with FindFirstFileW.
#pragma once

#include "handles/unique_handle.h"

#include <windows.h>

// FindFirstFileW fails with INVALID_HANDLE_VALUE, which is not closed.
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle handle) {
        return handle != INVALID_HANDLE_VALUE && handle != nullptr;
    }
    static void Close(Handle handle) { FindClose(handle); }
};

using FindHandle = UniqueHandle<FindHandleTraits>;
