// What a drawing changes in a context for a while, and puts back afterwards.
#pragma once

#include <windows.h>

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
