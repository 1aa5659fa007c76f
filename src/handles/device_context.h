// Device contexts, one owner per way a context is given back.
#pragma once

#include "handles/unique_handle.h"

#include <windows.h>

// A context made with CreateDCW or CreateICW, deleted with DeleteDC.
struct CreatedContextTraits : NullIsEmpty<HDC> {
    static void Close(HDC dc) { DeleteDC(dc); }
};

using CreatedContext = UniqueHandle<CreatedContextTraits>;

// An information context for the display: its metrics, no drawing.
inline CreatedContext OpenDisplayInfoContext() {
    return CreatedContext(CreateICW(L"DISPLAY", nullptr, nullptr, nullptr));
}

// The context of one paint pass of a window (BeginPaint / EndPaint).
class PaintSession {
public:
    explicit PaintSession(HWND window) : window_(window), paint_{} {
        dc_ = BeginPaint(window_, &paint_);
    }
    ~PaintSession() {
        if (window_) {
            EndPaint(window_, &paint_);
        }
    }
    PaintSession(PaintSession&& other) noexcept
        : window_(other.window_), paint_(other.paint_), dc_(other.dc_) {
        other.window_ = nullptr;
    }
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;
    PaintSession& operator=(PaintSession&&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_;
    HDC dc_;
};

// The client-area context of a window (GetDC / ReleaseDC).
class WindowContext {
public:
    explicit WindowContext(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowContext() {
        if (dc_) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowContext(WindowContext&& other) noexcept : window_(other.window_), dc_(other.dc_) {
        other.dc_ = nullptr;
    }
    WindowContext(const WindowContext&) = delete;
    WindowContext& operator=(const WindowContext&) = delete;
    WindowContext& operator=(WindowContext&&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};
