// A test file held open for reading and writing, as the shredder holds the file it overwrites.
#pragma once

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>

// Positioned at byte 0, like a file the shredder has just opened.
class OpenTestFile {
public:
    OpenTestFile(const std::wstring& path, const std::string& contents) : path_(path) {
        WriteTestFile(path, contents);
        Open();
    }
    // A file of size bytes, made by setting its end (no data written).
    OpenTestFile(const std::wstring& path, std::int64_t size) : path_(path) {
        WriteTestFile(path, "");
        Open();
        LARGE_INTEGER end{};
        end.QuadPart = size;
        SetFilePointerEx(handle_, end, nullptr, FILE_BEGIN);
        SetEndOfFile(handle_);
        SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
    }
    ~OpenTestFile() { CloseHandle(handle_); }
    OpenTestFile(const OpenTestFile&) = delete;
    OpenTestFile& operator=(const OpenTestFile&) = delete;

    HANDLE& Handle() { return handle_; }
    std::string Contents() const { return ReadTestFile(path_); }
    std::int64_t Position() const {
        LARGE_INTEGER zero{}, position{};
        SetFilePointerEx(handle_, zero, &position, FILE_CURRENT);
        return position.QuadPart;
    }
    std::int64_t Size() const {
        LARGE_INTEGER size{};
        GetFileSizeEx(handle_, &size);
        return size.QuadPart;
    }

private:
    void Open() {
        handle_ =
            CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, handle_);
    }

    std::wstring path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};
