#include "job/worker_thread.h"

ThreadStarter StartThread = CreateThread;

void WaitForThreadEnd(const ThreadHandle& thread) {
    if (!thread) {
        return;
    }
    HANDLE handle = thread.Get();
    while (MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
