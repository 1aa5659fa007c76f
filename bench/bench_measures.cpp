#include "bench_measures.h"

#include "bench_clock.h"
#include "bench_profile.h"
#include "bench_progress.h"
#include "engine/file_shredder.h"
#include "engine/folder_shredder.h"
#include "engine/handles.h"
#include "engine/random.h"
#include "engine/random_fill.h"
#include "handles/find_handle.h"

#include <psapi.h>

#include <cstdio>
#include <cstdint>
#include <vector>

namespace {

// Every file under folder, at any depth, listed before any timing starts.
void AddFilesUnder(const std::wstring& folder, std::vector<std::wstring>& files) {
    WIN32_FIND_DATAW entry{};
    const FindHandle listing(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!listing) {
        return;
    }
    do {
        const std::wstring name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            files.push_back(folder + L"\\" + name);
        } else if (name != L"." && name != L"..") {
            AddFilesUnder(folder + L"\\" + name, files);
        }
    } while (FindNextFileW(listing.Get(), &entry));
}

template <typename Fill> double FillSeconds(std::vector<std::uint8_t>& buffer, Fill fill) {
    const Stopwatch watch;
    fill(buffer.data(), buffer.size());
    return watch.Seconds();
}

template <typename Fill>
void PrintFillRate(const char* path, std::vector<std::uint8_t>& buffer, int repeats, Fill fill) {
    FillSeconds(buffer, fill);
    std::vector<double> rates;
    for (int i = 0; i < repeats; ++i) {
        rates.push_back(static_cast<double>(buffer.size()) / FillSeconds(buffer, fill) / 1e9);
    }
    std::printf("fill path=%s gbps=%.3f\n", path, Median(rates));
}

PROCESS_MEMORY_COUNTERS_EX MemoryCounters() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    return counters;
}

double Mebibytes(SIZE_T bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

} // namespace

int MeasureFill(std::size_t mebibytes, int repeats) {
    std::vector<std::uint8_t> buffer(mebibytes * 1024 * 1024);
    PrintFillRate("scalar", buffer, repeats, FillRandomScalar);
    for (RandomFillPath path : AllRandomFillPaths) {
        if (path != RandomFillPath::Scalar && RandomFillPathSupported(path)) {
            PrintFillRate(RandomFillPathName(path), buffer, repeats,
                          [path](std::uint8_t* bytes, std::size_t count) {
                              FillRandomVia(path, bytes, count);
                          });
        }
    }
    PrintFillRate("fast", buffer, repeats, FillRandom);
    std::printf("fill fast=%s\n", RandomFillPathName(CurrentRandomFillPath()));
    return 0;
}

void UsePageAlignedChunks() {
    FileSystem.AllocateChunk = [](std::size_t size) {
        return VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    };
    FileSystem.FreeChunk = [](void* chunk) { VirtualFree(chunk, 0, MEM_RELEASE); };
}

int MeasureOverwrite(ShredMethod method, int passes, const std::wstring& path, bool unbuffered) {
    const DWORD flags = FILE_FLAG_WRITE_THROUGH | (unbuffered ? FILE_FLAG_NO_BUFFERING : 0);
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, flags, nullptr));
    LARGE_INTEGER size{};
    if (!file.IsValid() || !GetFileSizeEx(file.Get(), &size)) {
        std::fprintf(stderr, "cannot open %ls: error %lu\n", path.c_str(), GetLastError());
        return 1;
    }
    if (unbuffered && size.QuadPart % 4096 != 0) {
        std::fprintf(stderr, "%ls is not a whole number of sectors long\n", path.c_str());
        return 1;
    }
    HANDLE handle = file.Get();
    const Stopwatch watch;
    const bool written = method(handle);
    const double seconds = watch.Seconds();
    if (!written) {
        std::fprintf(stderr, "the overwrite of %ls failed\n", path.c_str());
        return 1;
    }
    std::printf("overwrite seconds=%.6f bytes=%lld\n", seconds,
                static_cast<long long>(size.QuadPart) * passes);
    return 0;
}

int MeasureShredFiles(ShredMethod method, const std::wstring& folder, bool profile) {
    QuietProgress quiet;
    std::vector<std::wstring> files;
    AddFilesUnder(folder, files);
    int deleted = 0;
    if (profile) {
        StartFileSystemProfile();
    }
    const Stopwatch watch;
    for (std::wstring& file : files) {
        if (ShredFile(file, method, quiet) == ShredFileDeleted) {
            ++deleted;
        }
    }
    const double seconds = watch.Seconds();
    if (profile) {
        StopFileSystemProfile(static_cast<int>(files.size()));
    }
    std::printf("shredfiles seconds=%.6f files=%zu deleted=%d\n", seconds, files.size(), deleted);
    return deleted == static_cast<int>(files.size()) ? 0 : 1;
}

int MeasureCount(const std::wstring& folder, int repeats) {
    CountShredItems(folder);
    std::vector<double> seconds;
    int items = 0;
    for (int i = 0; i < repeats; ++i) {
        const Stopwatch watch;
        items = CountShredItems(folder);
        seconds.push_back(watch.Seconds());
    }
    std::printf("count seconds=%.6f items=%d\n", Median(seconds), items);
    return 0;
}

int MeasureFileJob(ShredMethod method, const std::wstring& path) {
    QuietProgress quiet;
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes)) {
        std::fprintf(stderr, "cannot find %ls: error %lu\n", path.c_str(), GetLastError());
        return 1;
    }
    const long long bytes =
        (static_cast<long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    const PROCESS_MEMORY_COUNTERS_EX before = MemoryCounters();
    std::wstring current = path;
    const Stopwatch watch;
    const int result = ShredFile(current, method, quiet);
    const double seconds = watch.Seconds();
    const PROCESS_MEMORY_COUNTERS_EX after = MemoryCounters();
    std::printf("job seconds=%.6f bytes=%lld result=%d workingset_before_mib=%.1f "
                "peak_workingset_mib=%.1f private_before_mib=%.1f peak_pagefile_mib=%.1f\n",
                seconds, bytes, result, Mebibytes(before.WorkingSetSize),
                Mebibytes(after.PeakWorkingSetSize), Mebibytes(before.PrivateUsage),
                Mebibytes(after.PeakPagefileUsage));
    return result == ShredFileDeleted ? 0 : 1;
}
