// Memory that COM and the shell hand out with CoTaskMemAlloc: item identifier lists, paths.
#pragma once

#include "handles/unique_handle.h"

#include <windows.h>
#include <objbase.h>
#include <shtypes.h>

#include <type_traits>

template <typename Element> struct CoTaskMemoryTraits : NullIsEmpty<Element*> {
    static void Close(Element* block) { CoTaskMemFree(block); }
};

template <typename Element> using CoTaskMemory = UniqueHandle<CoTaskMemoryTraits<Element>>;

using ShellItemIdList = CoTaskMemory<std::remove_pointer_t<PIDLIST_ABSOLUTE>>;
using CoTaskString = CoTaskMemory<wchar_t>;
