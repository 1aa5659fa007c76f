// Kernel object handles: threads, files, events.
#pragma once

#include "handles/unique_handle.h"

#include <windows.h>

// CreateFileW fails with INVALID_HANDLE_VALUE and CreateThread with null: neither is closed.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle handle) {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }
    static void Close(Handle handle) { CloseHandle(handle); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
