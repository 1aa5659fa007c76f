// GDI objects the program creates: fonts, brushes, pens, bitmaps.
#pragma once

#include "handles/unique_handle.h"

#include <windows.h>

template <typename Object> struct GdiObjectTraits : NullIsEmpty<Object> {
    static void Close(Object object) { DeleteObject(object); }
};

template <typename Object> using GdiObject = UniqueHandle<GdiObjectTraits<Object>>;
