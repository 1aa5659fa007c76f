// Keeping Windows from ending the session or sleeping on idle while files are half shredded.
#pragma once

#include <windows.h>

#include <utility>

inline constexpr const wchar_t* ShutdownBlockReasonText = L"Shredding files";

// Sets a window's shutdown block reason, with the signature of ShutdownBlockReasonCreate. The job
// sets it only through this, so that the reason can be seen where the system cannot show it.
using ShutdownReasonSetter = BOOL(WINAPI*)(HWND window, LPCWSTR reason);
extern ShutdownReasonSetter SetShutdownReason;

// A shutdown block reason on a window of the calling thread, destroyed with it.
class ShutdownBlock {
public:
    ShutdownBlock() = default;
    explicit ShutdownBlock(HWND window)
        : window_(SetShutdownReason(window, ShutdownBlockReasonText) ? window : nullptr) {}
    ~ShutdownBlock() { Release(); }
    ShutdownBlock(const ShutdownBlock&) = delete;
    ShutdownBlock& operator=(const ShutdownBlock&) = delete;
    ShutdownBlock(ShutdownBlock&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)) {}
    ShutdownBlock& operator=(ShutdownBlock&& other) noexcept {
        if (this != &other) {
            Release();
            window_ = std::exchange(other.window_, nullptr);
        }
        return *this;
    }

private:
    void Release() {
        if (window_) {
            ShutdownBlockReasonDestroy(window_);
            window_ = nullptr;
        }
    }

    HWND window_ = nullptr;
};

// While alive, the system does not sleep on idle on the calling thread's account.
class SystemAwake {
public:
    SystemAwake() { SetThreadExecutionState(ES_SYSTEM_REQUIRED | ES_CONTINUOUS); }
    ~SystemAwake() { SetThreadExecutionState(ES_CONTINUOUS); }
    SystemAwake(const SystemAwake&) = delete;
    SystemAwake& operator=(const SystemAwake&) = delete;
};
