// Console driver of tools/residue-check.sh: destroys the given files and folders with the real
// engine, or with a plain delete as the control that shows what a deletion alone leaves behind.
//   residue_driver <zeros|random|dod3|dod7|gutmann|delete> <full path>...
//   residue_driver wipe <zeros|random|dod3|dod7|gutmann> <volume root>
// Prints one line per path ("<result> <path now>") and exits 0 when every item is gone, 1 when
// any remains, 2 on bad arguments. A wipe prints "<result> <error> <free before> <free after>
// <bytes written> <fill files made> <cluster size>" and exits 0 when the free space was wiped, 1
// otherwise.
#include "engine/file_shredder.h"
#include "engine/file_system.h"
#include "engine/folder_shredder.h"
#include "engine/free_space_wipe.h"
#include "engine/overwrite_methods.h"
#include "engine/shred_progress.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace {

class UniqueFind {
public:
    explicit UniqueFind(HANDLE find) : find_(find) {}
    ~UniqueFind() {
        if (find_ != INVALID_HANDLE_VALUE) {
            FindClose(find_);
        }
    }
    UniqueFind(const UniqueFind&) = delete;
    UniqueFind& operator=(const UniqueFind&) = delete;
    UniqueFind(UniqueFind&& other) noexcept : find_(other.find_) {
        other.find_ = INVALID_HANDLE_VALUE;
    }
    UniqueFind& operator=(UniqueFind&&) = delete;
    HANDLE Get() const { return find_; }
    bool Valid() const { return find_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE find_;
};

// The method named on the command line; nullopt for the plain-delete control.
struct Choice {
    bool valid = false;
    std::optional<ShredMethod> method;
};

Choice ParseMethod(std::wstring_view name) {
    constexpr std::wstring_view names[ShredMethodCount] = {L"zeros", L"random", L"dod3", L"dod7",
                                                           L"gutmann"};
    for (int i = 0; i < ShredMethodCount; ++i) {
        if (name == names[i]) {
            return {true, ShredMethods[i]};
        }
    }
    if (name == L"delete") {
        return {true, std::nullopt};
    }
    return {};
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What Explorer's delete does to the data: nothing. Only the names go.
int PlainDelete(const std::wstring& path) {
    if (!IsFolder(path)) {
        return DeleteFileW(path.c_str()) ? 0 : static_cast<int>(GetLastError());
    }
    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW((path + L"\\*").c_str(), &entry));
    if (find.Valid()) {
        do {
            const std::wstring_view name(entry.cFileName);
            if (name != L"." && name != L"..") {
                PlainDelete(path + L"\\" + entry.cFileName);
            }
        } while (FindNextFileW(find.Get(), &entry));
    }
    return RemoveDirectoryW(path.c_str()) ? 0 : static_cast<int>(GetLastError());
}

// The engine's progress, unseen: the driver reports only results.
class SilentProgress final : public ShredProgress {
public:
    void ShowName(const std::wstring&) override {}
    void Step() override {}
    bool StopRequested() const override { return false; }
};

// Counts what a free-space wipe writes.
class CountingProgress final : public ShredProgress {
public:
    void ShowName(const std::wstring&) override {}
    void Step() override {}
    bool StopRequested() const override { return false; }
    void BytesWritten(std::uint64_t bytes) override { written += bytes; }
    std::uint64_t written = 0;
};

// How many items the wipe creates (its folder and its fill files).
int created = 0;

HANDLE CountedCreate(HANDLE root, LPCWSTR name, DWORD access, DWORD share, DWORD options) {
    const HANDLE made = RealFileSystem.CreateRelative(root, name, access, share, options);
    created += made != INVALID_HANDLE_VALUE ? 1 : 0;
    return made;
}

int Wipe(const Choice& choice, const std::wstring& root) {
    FileSystem.CreateRelative = CountedCreate;
    CountingProgress progress;
    ULONGLONG before = 0;
    ULONGLONG after = 0;
    ReadFreeSpace(root, before);
    const FreeSpaceWipeResult result = WipeFreeSpace(root, *choice.method, progress);
    const DWORD error = GetLastError();
    ReadFreeSpace(root, after);
    wchar_t fileSystem[MAX_PATH + 1] = L"?";
    GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, fileSystem,
                          MAX_PATH + 1);
    std::fprintf(stderr, "file system as Windows names it: %ls\n", fileSystem);
    constexpr const char* names[] = {"wiped", "stopped", "failed"};
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD clusters = 0;
    GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters);
    std::printf("%s %lu %llu %llu %llu %d %lu\n", names[static_cast<int>(result)], error, before,
                after, static_cast<unsigned long long>(progress.written), created - 1,
                sectorsPerCluster * bytesPerSector);
    std::fflush(stdout);
    return result == FreeSpaceWipeResult::Wiped ? 0 : 1;
}

void PrintLine(int result, const std::wstring& path) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    std::printf("%d %s\n", result, utf8.c_str());
    std::fflush(stdout);
}

int Run(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: residue_driver <zeros|random|dod3|dod7|gutmann|delete> <path>...\n",
                   stderr);
        return 2;
    }
    if (std::wstring_view(argv[1]) == L"wipe") {
        const Choice choice = ParseMethod(argv[2]);
        if (argc != 4 || !choice.method) {
            std::fputs("residue_driver: wipe takes a method and a volume root\n", stderr);
            return 2;
        }
        return Wipe(choice, argv[3]);
    }
    const Choice choice = ParseMethod(argv[1]);
    if (!choice.valid) {
        std::fputs("residue_driver: unknown method\n", stderr);
        return 2;
    }
    SilentProgress progress;

    bool allGone = true;
    for (int i = 2; i < argc; ++i) {
        const std::wstring original(argv[i]);
        std::wstring path = original;
        int result = 0;
        if (!choice.method) {
            result = PlainDelete(path);
        } else if (IsFolder(path)) {
            result = ShredFolder(path, *choice.method, progress);
        } else {
            result = ShredFile(path, *choice.method, progress);
        }
        PrintLine(result, path);
        if (Exists(original) || Exists(path)) {
            allGone = false;
        }
    }
    return allGone ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        return Run(argc, argv);
    } catch (...) {
        std::fputs("residue_driver: unexpected failure\n", stderr);
        return 2;
    }
}
