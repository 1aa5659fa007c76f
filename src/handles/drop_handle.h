// The drop handle that comes with WM_DROPFILES.
#pragma once

#include "handles/unique_handle.h"

#include <windows.h>
#include <shellapi.h>

struct DropHandleTraits : NullIsEmpty<HDROP> {
    static void Close(HDROP drop) { DragFinish(drop); }
};

using DropHandle = UniqueHandle<DropHandleTraits>;
