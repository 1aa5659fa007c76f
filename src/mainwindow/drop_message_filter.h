// What a process of lower integrity (Explorer, when Ferrolet runs elevated) may send the main
// window: only the messages that carry a drop of files.
#pragma once

#include <windows.h>

// The message that copies a drop's global memory block into the receiving process; the platform
// headers do not name it.
inline constexpr UINT CopyGlobalDataMessage = 0x0049;

// The messages a drop needs, in the order they are allowed.
inline constexpr UINT DropMessages[] = {WM_DROPFILES, WM_COPYDATA, CopyGlobalDataMessage};

// How a message is let through; ChangeWindowMessageFilterEx unless a test puts something else here.
using ChangeMessageFilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
extern ChangeMessageFilterFunction ChangeMessageFilter;

// Allows each of DropMessages through to window (MSGFLT_ALLOW), and nothing else. Returns how many
// the platform confirmed.
int AllowDropMessages(HWND window);
