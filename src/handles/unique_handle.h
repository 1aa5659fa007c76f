// The one move-only owner that every handle kind below is made of.
#pragma once

#include <utility>

// Owns one handle and closes it once, with Traits::Close, unless it is empty. Traits gives the
// handle type (Handle), the value an empty owner holds (Empty()), and whether a value is a handle
// at all (IsValid: a failed open may hand out a value other than Empty()).
template <typename Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, Traits::Empty())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, Traits::Empty());
        }
        return *this;
    }

    Handle Get() const { return handle_; }
    bool IsValid() const { return Traits::IsValid(handle_); }
    explicit operator bool() const { return IsValid(); }

    void Reset() {
        if (IsValid()) {
            Traits::Close(handle_);
        }
        handle_ = Traits::Empty();
    }

    // Where a call that hands out a handle through a pointer writes it; what was held is closed.
    Handle* Receive() {
        Reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Empty();
};

// The empty value and validity of handle kinds whose only empty value is null; a kind's traits
// add its Close.
template <typename Pointer> struct NullIsEmpty {
    using Handle = Pointer;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
};
