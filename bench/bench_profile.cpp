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

constexpr int OperationCount = 17;
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
    Wrap<&FileSystemApi::CreateFileW, 0>("CreateFileW");
    Wrap<&FileSystemApi::OpenRelative, 1>("OpenRelative");
    Wrap<&FileSystemApi::GetItemName, 2>("GetItemName");
    Wrap<&FileSystemApi::GetFileInformationByHandleEx, 3>("GetFileInformationByHandleEx");
    Wrap<&FileSystemApi::GetFileIndex, 4>("GetFileIndex");
    Wrap<&FileSystemApi::SetFileInformationByHandle, 5>("SetFileInformationByHandle");
    Wrap<&FileSystemApi::RenameByHandle, 6>("RenameByHandle");
    Wrap<&FileSystemApi::DeleteByHandle, 7>("DeleteByHandle");
    Wrap<&FileSystemApi::GetFileSizeEx, 8>("GetFileSizeEx");
    Wrap<&FileSystemApi::SetFilePointer, 9>("SetFilePointer");
    Wrap<&FileSystemApi::WriteFile, 10>("WriteFile");
    Wrap<&FileSystemApi::FlushFileBuffers, 11>("FlushFileBuffers");
    Wrap<&FileSystemApi::SetEndOfFile, 12>("SetEndOfFile");
    Wrap<&FileSystemApi::CloseHandle, 13>("CloseHandle");
    Wrap<&FileSystemApi::AllocateChunk, 14>("AllocateChunk");
    Wrap<&FileSystemApi::FreeChunk, 15>("FreeChunk");
    Wrap<&FileSystemApi::DeviceIoControl, 16>("DeviceIoControl");
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
