#include "job/worker_thread.h"

ThreadStarter StartThread = CreateThread;

bool WaitForThreadEnd(const ThreadHandle& thread, DWORD timeout) {
    if (!thread) {
        return true;
    }
    HANDLE handle = thread.Get();
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        DWORD left = INFINITE;
        if (timeout != INFINITE) {
            const ULONGLONG waited = GetTickCount64() - start;
            left = waited < timeout ? static_cast<DWORD>(timeout - waited) : 0;
        }
        switch (MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE)) {
        case WAIT_OBJECT_0:
            return true;
        case WAIT_OBJECT_0 + 1: {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            break;
        }
        default:
            return false;
        }
    }
}
