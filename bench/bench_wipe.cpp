#include "bench_clock.h"
#include "bench_measures.h"
#include "bench_progress.h"
#include "engine/free_space_wipe.h"

#include <psapi.h>

#include <cstdio>

namespace {

constexpr double BytesPerMebibyte = 1024.0 * 1024.0;

} // namespace

int MeasureWipe(ShredMethod method, const std::wstring& root) {
    QuietProgress quiet;
    ULONGLONG free = 0;
    ReadFreeSpace(root, free);
    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof(before));
    const Stopwatch watch;
    const FreeSpaceWipeResult result = WipeFreeSpace(root, method, quiet);
    const double seconds = watch.Seconds();
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof(after));
    ULONGLONG freeAfter = 0;
    ReadFreeSpace(root, freeAfter);
    std::printf("wipe seconds=%.6f free_bytes=%llu free_after=%llu result=%d "
                "workingset_before_mib=%.1f peak_workingset_mib=%.1f\n",
                seconds, free, freeAfter, static_cast<int>(result),
                before.WorkingSetSize / BytesPerMebibyte,
                after.PeakWorkingSetSize / BytesPerMebibyte);
    return result == FreeSpaceWipeResult::Wiped ? 0 : 1;
}
