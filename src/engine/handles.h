// The engine's owner of open handles, closed through the file-system table.
#pragma once

#include "engine/file_system.h"
#include "handles/unique_handle.h"

// Closed through FileSystem.CloseHandle rather than CloseHandle itself, so that a test that puts
// its own entry in the table sees every close, or makes one fail; that is why this owner lives
// here and not with the program's other owners.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle handle) {
        return handle != INVALID_HANDLE_VALUE && handle != nullptr;
    }
    static void Close(Handle handle) { FileSystem.CloseHandle(handle); }
};

// An open file, folder or stream handle.
using FileHandle = UniqueHandle<FileHandleTraits>;
