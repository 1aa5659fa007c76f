// COM on the calling thread.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

// COM on this thread for a while, ended with CoUninitialize only when this call started it or
// counted one more start (a thread in another apartment keeps its own).
class ComApartment {
public:
    ComApartment() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (started_) {
            CoUninitialize();
        }
    }
    ComApartment(ComApartment&& other) noexcept : started_(std::exchange(other.started_, false)) {}
    ComApartment& operator=(ComApartment&&) = delete;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool started_;
};
