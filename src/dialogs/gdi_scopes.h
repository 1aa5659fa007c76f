// Scoped display contexts and selections, each released by its own close function.
#pragma once

#include <windows.h>

// An information context for the display (CreateICW / DeleteDC).
class DisplayInfoContext {
public:
    DisplayInfoContext() : dc_(CreateICW(L"DISPLAY", nullptr, nullptr, nullptr)) {}
    ~DisplayInfoContext() {
        if (dc_) {
            DeleteDC(dc_);
        }
    }
    DisplayInfoContext(DisplayInfoContext&& other) noexcept : dc_(other.dc_) {
        other.dc_ = nullptr;
    }
    DisplayInfoContext(const DisplayInfoContext&) = delete;
    DisplayInfoContext& operator=(const DisplayInfoContext&) = delete;
    DisplayInfoContext& operator=(DisplayInfoContext&&) = delete;

    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// LOGPIXELSX or LOGPIXELSY of the display, asked afresh.
inline int DisplayLogPixels(int index) {
    DisplayInfoContext display;
    return GetDeviceCaps(display.Get(), index);
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

// An object selected into a context; the one it replaced goes back in afterwards.
class ObjectSelection {
public:
    ObjectSelection(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~ObjectSelection() {
        if (previous_) {
            SelectObject(dc_, previous_);
        }
    }
    ObjectSelection(ObjectSelection&& other) noexcept : dc_(other.dc_), previous_(other.previous_) {
        other.previous_ = nullptr;
    }
    ObjectSelection(const ObjectSelection&) = delete;
    ObjectSelection& operator=(const ObjectSelection&) = delete;
    ObjectSelection& operator=(ObjectSelection&&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The background mode of a context, set for a while and then restored.
class BackgroundModeScope {
public:
    BackgroundModeScope(HDC dc, int mode) : dc_(dc), previous_(dc ? SetBkMode(dc, mode) : 0) {}
    ~BackgroundModeScope() {
        if (previous_) {
            SetBkMode(dc_, previous_);
        }
    }
    BackgroundModeScope(BackgroundModeScope&& other) noexcept
        : dc_(other.dc_), previous_(other.previous_) {
        other.previous_ = 0;
    }
    BackgroundModeScope(const BackgroundModeScope&) = delete;
    BackgroundModeScope& operator=(const BackgroundModeScope&) = delete;
    BackgroundModeScope& operator=(BackgroundModeScope&&) = delete;

private:
    HDC dc_;
    int previous_;
};
