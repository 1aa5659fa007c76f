// Move-only owners of the handles the main window opens, one per release function.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <utility>

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (Valid()) {
            CloseHandle(handle_);
        }
    }
    FileHandle(FileHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    FileHandle& operator=(FileHandle&&) = delete;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

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
