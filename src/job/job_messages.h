// The progress dialog's private message.
#pragma once

#include <windows.h>

// Posted by the worker as its last act. The dialog paints its final state and ends itself on its
// own thread: ending a dialog hands activation back to its owner only on the thread whose active
// window it is, which the worker's thread is not.
inline constexpr UINT WM_SHRED_WORKER_DONE = WM_APP + 1;
