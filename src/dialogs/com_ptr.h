// Owners of what COM hands out, each released by its own function.
#pragma once

#include <windows.h>
#include <oleauto.h>

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

// A string allocated for COM, freed with SysFreeString.
class ComString {
public:
    explicit ComString(const wchar_t* text) : text_(SysAllocString(text)) {}
    ~ComString() { SysFreeString(text_); }
    ComString(ComString&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    ComString& operator=(ComString&&) = delete;
    ComString(const ComString&) = delete;
    ComString& operator=(const ComString&) = delete;

    BSTR Get() const { return text_; }

private:
    BSTR text_;
};

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
