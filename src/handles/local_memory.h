// Blocks that LocalAlloc handed out, such as CommandLineToArgvW's argument array.
#pragma once

#include "handles/unique_handle.h"

#include <windows.h>

template <typename Element> struct LocalMemoryTraits : NullIsEmpty<Element*> {
    static void Close(Element* block) { LocalFree(block); }
};

template <typename Element> using LocalMemory = UniqueHandle<LocalMemoryTraits<Element>>;
