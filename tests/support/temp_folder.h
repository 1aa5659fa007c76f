// A fresh folder under the system's temporary folder, removed with everything in it afterwards.
#pragma once

#include "handles/kernel_handle.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

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
// A small tree under root, in order: a name ending in a backslash is a folder, any other a file
// with the contents beside it.
using TestTree = std::vector<std::pair<std::wstring, std::string>>;
void MakeTestTree(const std::wstring& root, const TestTree& entries);
// Holds a file open with no sharing, as another program would, until the owner ends.
KernelHandle HoldWithoutSharing(const std::wstring& path);
bool PathExists(const std::wstring& path);
// The \\?\ form of a full path, as the engine passes every path on; a path already in it stays.
std::wstring Extended(const std::wstring& path);
// The entries the platform lists in a folder given by its full path, in its order, without "."
// and ".."; empty when the folder cannot be listed. Lists through the \\?\ form, so that paths
// longer than MAX_PATH work too.
std::vector<std::wstring> ListedNames(const std::wstring& folder);
// The Linux path of a Windows path under Wine (for creating links and odd names from the Linux
// side); empty when it cannot be mapped.
std::string UnixPathOf(const std::wstring& path);
