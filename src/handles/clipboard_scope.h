// The clipboard, open for reading.
#pragma once

#include <windows.h>

#include <utility>

// The clipboard, opened for owner and closed with CloseClipboard.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardScope() {
        if (open_) {
            CloseClipboard();
        }
    }
    ClipboardScope(ClipboardScope&& other) noexcept : open_(std::exchange(other.open_, false)) {}
    ClipboardScope& operator=(ClipboardScope&&) = delete;
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;

    bool Open() const { return open_; }

private:
    bool open_;
};
