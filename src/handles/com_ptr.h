// References to COM interfaces.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

// One reference to a COM interface, released with Release.
template <typename Interface> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (pointer_) {
            pointer_->Release();
        }
    }
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&&) = delete;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // Where a call that hands out a reference writes it; only on an empty owner.
    Interface** Receive() { return &pointer_; }
    void** ReceiveVoid() { return reinterpret_cast<void**>(&pointer_); }

    // The same object's Other interface; empty when it has none.
    template <typename Other> ComPtr<Other> As() const {
        ComPtr<Other> result;
        if (pointer_) {
            pointer_->QueryInterface(__uuidof(Other), result.ReceiveVoid());
        }
        return result;
    }

private:
    Interface* pointer_ = nullptr;
};
