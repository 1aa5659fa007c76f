// Open registry keys.
#pragma once

#include "handles/unique_handle.h"

#include <windows.h>

struct RegistryKeyTraits : NullIsEmpty<HKEY> {
    static void Close(HKEY key) { RegCloseKey(key); }
};

using RegistryKey = UniqueHandle<RegistryKeyTraits>;
