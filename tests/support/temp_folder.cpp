#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

namespace {

std::wstring NewTempFolderPath() {
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    std::wstring root(base);
    if (!root.empty() && root.back() == L'\\') {
        root.pop_back();
    }
    for (unsigned attempt = 0;; ++attempt) {
        std::wstring candidate =
            root + L"\\ferrolet-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(attempt);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            return candidate;
        }
    }
}

void ClearAttributesAndRemove(const std::filesystem::path& path) {
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(path, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(path, error);
}

} // namespace

TempFolder::TempFolder() : path_(NewTempFolderPath()) {}

TempFolder::~TempFolder() {
    ClearAttributesAndRemove(path_);
}

void WriteTestFile(const std::wstring& path, const std::string& contents) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << "cannot create test file, error " << GetLastError();
    DWORD written = 0;
    const BOOL ok =
        contents.empty() ||
        WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(ok && written == contents.size()) << "cannot write test file";
}

std::string ReadTestFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot open test file, error " << GetLastError();
        return {};
    }
    std::string contents;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        contents.append(chunk, got);
    }
    CloseHandle(file);
    return contents;
}

void MakeTestFolder(const std::wstring& path) {
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr))
        << "cannot create test folder, error " << GetLastError();
}

bool PathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> ListedNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry{};
    HANDLE listing = FindFirstFileW((L"\\\\?\\" + folder + L"\\*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(listing, &entry));
    FindClose(listing);
    return names;
}

std::string UnixPathOf(const std::wstring& path) {
    using GetUnixFileName = char*(__cdecl*)(const wchar_t*);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto convert = kernel ? reinterpret_cast<GetUnixFileName>(reinterpret_cast<void*>(
                                GetProcAddress(kernel, "wine_get_unix_file_name")))
                          : nullptr;
    if (!convert) {
        return {};
    }
    char* unixPath = convert(path.c_str());
    if (!unixPath) {
        return {};
    }
    std::string result(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}
