// A fresh folder under the system's temporary folder, removed with everything in it afterwards.
#pragma once

#include <windows.h>

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's full path, without a trailing backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Small file helpers for tests; each fails the current test on error.
void WriteTestFile(const std::wstring& path, const std::string& contents);
std::string ReadTestFile(const std::wstring& path);
void MakeTestFolder(const std::wstring& path);
bool PathExists(const std::wstring& path);
// The Linux path of a Windows path under Wine (for creating links and odd names from the Linux
// side); empty when it cannot be mapped.
std::string UnixPathOf(const std::wstring& path);
