#include "bench_profile.h"

#include "bench_clock.h"
#include "engine/file_system.h"

#include <cstdio>
#include <type_traits>

namespace {

struct OperationTotal {
    const char* name = nullptr;
    long long calls = 0;
    double seconds = 0.0;
};

constexpr int OperationCount = 18;
OperationTotal totals[OperationCount];

template <auto Entry, int Slot> struct Timed;

template <typename Result, typename... Args, Result (*FileSystemApi::*Entry)(Args...), int Slot>
struct Timed<Entry, Slot> {
    static Result Call(Args... args) {
        const Stopwatch watch;
        if constexpr (std::is_void_v<Result>) {
            (RealFileSystem.*Entry)(args...);
            totals[Slot].seconds += watch.Seconds();
            ++totals[Slot].calls;
        } else {
            Result result = (RealFileSystem.*Entry)(args...);
            totals[Slot].seconds += watch.Seconds();
            ++totals[Slot].calls;
            return result;
        }
    }
};

template <auto Entry, int Slot> void Wrap(const char* name) {
    static_assert(Slot < OperationCount);
    totals[Slot] = OperationTotal{name, 0, 0.0};
    FileSystem.*Entry = &Timed<Entry, Slot>::Call;
}

} // namespace

void StartFileSystemProfile() {
    Wrap<&FileSystemApi::SetFileAttributesW, 0>("SetFileAttributesW");
    Wrap<&FileSystemApi::CreateFileW, 1>("CreateFileW");
    Wrap<&FileSystemApi::GetFileInformationByHandle, 2>("GetFileInformationByHandle");
    Wrap<&FileSystemApi::GetFileInformationByHandleEx, 3>("GetFileInformationByHandleEx");
    Wrap<&FileSystemApi::GetFileSizeEx, 4>("GetFileSizeEx");
    Wrap<&FileSystemApi::SetFilePointer, 5>("SetFilePointer");
    Wrap<&FileSystemApi::WriteFile, 6>("WriteFile");
    Wrap<&FileSystemApi::FlushFileBuffers, 7>("FlushFileBuffers");
    Wrap<&FileSystemApi::SetEndOfFile, 8>("SetEndOfFile");
    Wrap<&FileSystemApi::CloseHandle, 9>("CloseHandle");
    Wrap<&FileSystemApi::MoveFileW, 10>("MoveFileW");
    Wrap<&FileSystemApi::DeleteFileW, 11>("DeleteFileW");
    Wrap<&FileSystemApi::RemoveDirectoryW, 12>("RemoveDirectoryW");
    Wrap<&FileSystemApi::FindFirstFileW, 13>("FindFirstFileW");
    Wrap<&FileSystemApi::FindNextFileW, 14>("FindNextFileW");
    Wrap<&FileSystemApi::FindClose, 15>("FindClose");
    Wrap<&FileSystemApi::AllocateChunk, 16>("AllocateChunk");
    Wrap<&FileSystemApi::FreeChunk, 17>("FreeChunk");
}

void StopFileSystemProfile(int items) {
    FileSystem = RealFileSystem;
    const double perItem = items > 0 ? 1.0 / items : 0.0;
    for (const OperationTotal& total : totals) {
        if (total.calls > 0) {
            std::printf("profile operation=%s calls_per_item=%.2f ms_per_item=%.4f\n", total.name,
                        static_cast<double>(total.calls) * perItem, total.seconds * 1e3 * perItem);
        }
    }
}
