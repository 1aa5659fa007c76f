// Starting the job's worker thread, and owning its handle until the job is over.
#pragma once

#include <windows.h>

#include <utility>

// Starts a thread, with the signature of CreateThread. The job starts its worker only through
// this, so that a start that fails can be reproduced.
using ThreadStarter = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize,
                                      LPTHREAD_START_ROUTINE routine, LPVOID argument, DWORD flags,
                                      LPDWORD threadId);

extern ThreadStarter StartThread;

// Owns a thread handle: closed once, never copied.
class ThreadHandle {
public:
    ThreadHandle() = default;
    explicit ThreadHandle(HANDLE handle) : handle_(handle) {}
    ~ThreadHandle() { Reset(); }
    ThreadHandle(const ThreadHandle&) = delete;
    ThreadHandle& operator=(const ThreadHandle&) = delete;
    ThreadHandle(ThreadHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    ThreadHandle& operator=(ThreadHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset() {
        if (handle_) {
            CloseHandle(handle_);
            handle_ = nullptr;
        }
    }

private:
    HANDLE handle_ = nullptr;
};

// Waits until the thread has ended while still carrying out the window messages that other
// threads send to this one, so that a thread sending to this thread's windows cannot deadlock.
void WaitForThreadEnd(const ThreadHandle& thread);
