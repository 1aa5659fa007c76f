#include "support/temp_folder.h"

#include "support/linux_side.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Entries a test folder's clean-up tries at most, so that it ends whatever it finds.
constexpr std::size_t RemovalBudget = 1000000;

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

struct ListedEntry {
    std::wstring name;
    DWORD attributes;
};

std::vector<ListedEntry> ListEntries(const std::wstring& folder) {
    std::vector<ListedEntry> entries;
    WIN32_FIND_DATAW entry{};
    HANDLE listing = FindFirstFileW((Extended(folder) + L"\\*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") {
            entries.push_back({name, entry.dwFileAttributes});
        }
    } while (FindNextFileW(listing, &entry) && entries.size() < RemovalBudget);
    FindClose(listing);
    return entries;
}

// Removes the tree through Win32 calls: each folder is listed once, a link is never entered or
// removed (under Wine that would act on its target), and at most RemovalBudget entries are
// tried in all, so this ends whatever the tree holds. What cannot go stays.
void RemoveTreeWin32(const std::wstring& root) {
    struct Pending {
        std::wstring path;
        bool listed;
    };
    std::vector<Pending> stack{{root, false}};
    std::size_t tried = 0;
    while (!stack.empty()) {
        if (stack.back().listed) {
            RemoveDirectoryW(Extended(stack.back().path).c_str());
            stack.pop_back();
            continue;
        }
        stack.back().listed = true;
        const std::wstring folder = stack.back().path;
        for (const ListedEntry& entry : ListEntries(folder)) {
            if (++tried > RemovalBudget) {
                return;
            }
            if ((entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
                continue;
            }
            const std::wstring path = Extended(folder + L"\\" + entry.name);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                stack.push_back({folder + L"\\" + entry.name, false});
            } else {
                DeleteFileW(path.c_str());
            }
        }
    }
}

// What Win32 calls leave (links, names Wine cannot map) goes from the Linux side; rm does not
// follow links.
void RemoveTreeFromLinux(const std::wstring& root) {
    const std::string unixPath = UnixPathOf(Extended(root));
    if (!unixPath.empty()) {
        RunLinuxShell("rm -rf -- " + ShellQuote(unixPath));
    }
}

} // namespace

std::wstring Extended(const std::wstring& path) {
    return path.starts_with(L"\\\\?\\") ? path : L"\\\\?\\" + path;
}

TempFolder::TempFolder() : path_(NewTempFolderPath()) {}

TempFolder::~TempFolder() {
    RemoveTreeWin32(path_);
    if (PathExists(Extended(path_))) {
        RemoveTreeFromLinux(path_);
    }
    if (PathExists(Extended(path_))) {
        std::fprintf(stderr, "warning: test folder %ls could not be removed\n", path_.c_str());
    }
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

void MakeTestTree(const std::wstring& root, const TestTree& entries) {
    for (const auto& [name, contents] : entries) {
        if (name.ends_with(L'\\')) {
            MakeTestFolder(root + L"\\" + name.substr(0, name.size() - 1));
        } else {
            WriteTestFile(root + L"\\" + name, contents);
        }
    }
}

KernelHandle HoldWithoutSharing(const std::wstring& path) {
    KernelHandle held(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(held) << "cannot hold " << testing::PrintToString(path) << ", error "
                      << GetLastError();
    return held;
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
