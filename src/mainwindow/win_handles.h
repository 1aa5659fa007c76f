// Move-only owners of the handles the main window opens, one per release function.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <utility>

// A file opened to read its size, closed with kernel32's CloseHandle itself (the engine's
// FileHandle closes through the engine's file-system table instead).
class KernelFileHandle {
public:
    explicit KernelFileHandle(HANDLE handle) : handle_(handle) {}
    ~KernelFileHandle() {
        if (Valid()) {
            CloseHandle(handle_);
        }
    }
    KernelFileHandle(KernelFileHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    KernelFileHandle& operator=(KernelFileHandle&&) = delete;
    KernelFileHandle(const KernelFileHandle&) = delete;
    KernelFileHandle& operator=(const KernelFileHandle&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

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
