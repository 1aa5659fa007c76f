// A mutex this thread has acquired, released once.
#pragma once

#include "handles/unique_handle.h"

#include <windows.h>

struct HeldMutexTraits : NullIsEmpty<HANDLE> {
    static void Close(HANDLE mutex) { ReleaseMutex(mutex); }
};

// Holds the mutex, not its handle: the handle's own owner closes that.
using HeldMutex = UniqueHandle<HeldMutexTraits>;
