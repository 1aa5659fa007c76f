// A lock this code took on a global memory block (GlobalLock), released once.
#pragma once

#include "handles/unique_handle.h"

#include <windows.h>

struct GlobalLockTraits : NullIsEmpty<HGLOBAL> {
    static void Close(HGLOBAL block) { GlobalUnlock(block); }
};

// Holds the lock, not the block: the block's own owner frees it.
using LockedGlobal = UniqueHandle<GlobalLockTraits>;
