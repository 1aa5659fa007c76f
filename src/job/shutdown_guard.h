// Keeping Windows from ending the session or sleeping on idle while files are half shredded.
#pragma once

#include "handles/shutdown_block_reason.h"

#include <windows.h>

inline constexpr const wchar_t* ShutdownBlockReasonText = L"Shredding files";

// Sets a window's shutdown block reason, with the signature of ShutdownBlockReasonCreate. The job
// sets it only through this, so that the reason can be seen where the system cannot show it.
using ShutdownReasonSetter = BOOL(WINAPI*)(HWND window, LPCWSTR reason);
extern ShutdownReasonSetter SetShutdownReason;

// The job's shutdown block reason on a window of the calling thread; empty when it could not be
// set.
inline ShutdownBlockReason BlockShutdown(HWND window) {
    return ShutdownBlockReason(SetShutdownReason(window, ShutdownBlockReasonText) ? window
                                                                                  : nullptr);
}

// While alive, the system does not sleep on idle on the calling thread's account.
class SystemAwake {
public:
    SystemAwake() { SetThreadExecutionState(ES_SYSTEM_REQUIRED | ES_CONTINUOUS); }
    ~SystemAwake() { SetThreadExecutionState(ES_CONTINUOUS); }
    SystemAwake(const SystemAwake&) = delete;
    SystemAwake& operator=(const SystemAwake&) = delete;
};
