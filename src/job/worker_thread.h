// Starting the job's worker thread, and owning its handle until the job is over.
#pragma once

#include "handles/kernel_handle.h"

#include <windows.h>

// Starts a thread, with the signature of CreateThread. The job starts its worker only through
// this, so that a start that fails can be reproduced.
using ThreadStarter = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize,
                                      LPTHREAD_START_ROUTINE routine, LPVOID argument, DWORD flags,
                                      LPDWORD threadId);

extern ThreadStarter StartThread;

// The job's worker thread, closed once the job is over.
using ThreadHandle = KernelHandle;

// Waits until the thread has ended, or for at most timeout milliseconds, while still carrying out
// the window messages that other threads send to this one, so that a thread sending to this
// thread's windows cannot deadlock. False when the time ran out first.
bool WaitForThreadEnd(const ThreadHandle& thread, DWORD timeout = INFINITE);
