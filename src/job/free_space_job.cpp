#include "job/free_space_job.h"

#include "engine/stop_request.h"

FreeSpaceReader ReadVolumeFreeSpace = ReadFreeSpace;
FreeSpaceWiper WipeVolumeFreeSpace = WipeFreeSpace;

std::wstring FreeSpaceRowName(const std::wstring& root) {
    std::wstring volume = root;
    while (!volume.empty() && volume.back() == L'\\') {
        volume.pop_back();
    }
    return L"Free space of " + volume;
}

void CountFreeSpaceBytes(std::vector<JobRow>& rows, ShredMethod method) {
    const std::uint64_t passes = PassesOf(method).size();
    for (JobRow& row : rows) {
        if (row.kind != JobRowKind::FreeSpace) {
            continue;
        }
        ULONGLONG bytes = 0;
        // Unknown free space moves the bar at the first byte written; the wipe itself reports
        // whether it could reach the volume.
        row.freeSpaceBytes = ReadVolumeFreeSpace(row.originalPath, bytes) ? bytes * passes : 0;
    }
}

void WipeFreeSpaceRows(std::vector<JobRow>& rows, ShredMethod method, JobProgress& progress) {
    for (JobRow& row : rows) {
        if (row.kind != JobRowKind::FreeSpace) {
            continue;
        }
        if (progress.StopRequested()) {
            return;
        }
        row.currentPath = row.originalPath;
        row.state = RowState::Reached;
        progress.ShowName(FreeSpaceRowName(row.originalPath));
        progress.StartByteCount(row.freeSpaceBytes);
        // The passes heed a stop between chunks through this scope too.
        const StopRequestScope scope(&progress);
        row.destroyed =
            WipeVolumeFreeSpace(row.originalPath, method, progress) == FreeSpaceWipeResult::Wiped;
    }
}
