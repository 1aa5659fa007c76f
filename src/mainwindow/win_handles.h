// Move-only owners of the handles the main window opens, one per release function.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <utility>

// An item identifier list from the shell, released with CoTaskMemFree.
class ShellItemIdList {
public:
    explicit ShellItemIdList(PIDLIST_ABSOLUTE list) : list_(list) {}
    ~ShellItemIdList() { CoTaskMemFree(list_); }
    ShellItemIdList(ShellItemIdList&& other) noexcept
        : list_(std::exchange(other.list_, nullptr)) {}
    ShellItemIdList& operator=(ShellItemIdList&&) = delete;
    ShellItemIdList(const ShellItemIdList&) = delete;
    ShellItemIdList& operator=(const ShellItemIdList&) = delete;

    PIDLIST_ABSOLUTE Get() const { return list_; }

private:
    PIDLIST_ABSOLUTE list_;
};

// A drop handle received with WM_DROPFILES, released with DragFinish.
class DropHandle {
public:
    explicit DropHandle(HDROP drop) : drop_(drop) {}
    ~DropHandle() {
        if (drop_) {
            DragFinish(drop_);
        }
    }
    DropHandle(DropHandle&& other) noexcept : drop_(std::exchange(other.drop_, nullptr)) {}
    DropHandle& operator=(DropHandle&&) = delete;
    DropHandle(const DropHandle&) = delete;
    DropHandle& operator=(const DropHandle&) = delete;

    HDROP Get() const { return drop_; }

private:
    HDROP drop_;
};

// A block from LocalAlloc (CommandLineToArgvW's argument array), released with LocalFree.
template <typename T> class LocalMemory {
public:
    explicit LocalMemory(T* memory) : memory_(memory) {}
    ~LocalMemory() { LocalFree(memory_); }
    LocalMemory(LocalMemory&& other) noexcept : memory_(std::exchange(other.memory_, nullptr)) {}
    LocalMemory& operator=(LocalMemory&&) = delete;
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;

    T* Get() const { return memory_; }

private:
    T* memory_;
};

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

// A hook of this thread, removed with UnhookWindowsHookEx.
class WindowsHook {
public:
    explicit WindowsHook(HHOOK hook) : hook_(hook) {}
    ~WindowsHook() {
        if (hook_) {
            UnhookWindowsHookEx(hook_);
        }
    }
    WindowsHook(WindowsHook&& other) noexcept : hook_(std::exchange(other.hook_, nullptr)) {}
    WindowsHook& operator=(WindowsHook&&) = delete;
    WindowsHook(const WindowsHook&) = delete;
    WindowsHook& operator=(const WindowsHook&) = delete;

private:
    HHOOK hook_;
};
