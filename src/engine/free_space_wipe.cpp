#include "engine/free_space_wipe.h"

#include "engine/fill_run.h"
#include "engine/item_checks.h"

#include <winternl.h>

#include <algorithm>

namespace {

// Unbuffered writes start at an address that is a multiple of the sector size; a page is one
// for every sector size up to its own.
constexpr std::size_t PageBytes = 4096;

constexpr DWORD RootAccess = FILE_LIST_DIRECTORY | FILE_ADD_SUBDIRECTORY | FILE_TRAVERSE;
constexpr DWORD FillFolderAccess =
    FILE_LIST_DIRECTORY | FILE_ADD_FILE | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | DELETE;

// A scanner that opens a fill file as it is closed holds its deletion back for a moment, and the
// folder cannot go before it.
constexpr int FolderRemovalTries = 20;
constexpr DWORD FolderRemovalWaitMs = 50;

// Removes the emptied fill folder and closes it; true when its name is gone from root.
bool RemoveFillFolder(HANDLE root, FileHandle folder) {
    for (int tries = 1; !FileSystem.DeleteByHandle(folder.Get()); ++tries) {
        if (tries == FolderRemovalTries || GetLastError() != ERROR_DIR_NOT_EMPTY) {
            return false;
        }
        Sleep(FolderRemovalWaitMs);
    }
    folder.Reset();
    // Where deletion is only marked, it happens at the close and may still fail there.
    const FileHandle left(
        FileSystem.OpenRelative(root, FillFolderName, FILE_READ_ATTRIBUTES, ShareAll, 0));
    return !left.IsValid();
}

FreeSpaceWipeResult ResultOf(FillStep step) {
    switch (step) {
    case FillStep::Done:
    case FillStep::Full:
        return FreeSpaceWipeResult::Wiped;
    case FillStep::Stopped:
        return FreeSpaceWipeResult::Stopped;
    case FillStep::Failed:
        break;
    }
    return FreeSpaceWipeResult::Failed;
}

// Fills from the open fill folder, then gives every fill file back, whatever the outcome.
FillStep FillAndRelease(FillRun& run) {
    FillStep step = FillClusters(run);
    if (step == FillStep::Full) {
        step = FillRecords(run);
    }
    const DWORD error = GetLastError();
    // Delete on close gives the space back even when the process is killed. Cutting each file to
    // nothing first gives its clusters back before any name goes, for a file system that needs
    // room to remove a name (ntfs-3g under Wine renames a removed file that is still open); the
    // explicit deletion is for one that does not honour delete on close.
    for (FileHandle& file : run.files) {
        if (FileSystem.SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) == 0) {
            FileSystem.SetEndOfFile(file.Get());
        }
        FileSystem.DeleteByHandle(file.Get());
        file.Reset();
    }
    run.files.clear();
    SetLastError(error);
    return step;
}

} // namespace

bool ReadFreeSpace(const std::wstring& root, ULONGLONG& bytes) {
    std::uint64_t fillable = 0;
    if (!ReadFillableSpace(root, fillable)) {
        return false;
    }
    bytes = fillable;
    return true;
}

FreeSpaceWipeResult WipeFreeSpace(const std::wstring& root, ShredMethod method,
                                  ShredProgress& progress) {
    const std::span<const PassFill> passes = PassesOf(method);
    FillVolume volume;
    if (passes.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FreeSpaceWipeResult::Failed;
    }
    if (!ReadFillVolume(root, volume)) {
        return FreeSpaceWipeResult::Failed;
    }
    FillBuffer buffer(std::max<std::size_t>(OverwriteChunkSize, volume.clusterBytes),
                      std::max<std::size_t>(PageBytes, volume.sectorBytes));
    if (!buffer.IsValid()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FreeSpaceWipeResult::Failed;
    }
    const FileHandle rootFolder(FileSystem.CreateFileW(root.c_str(), RootAccess, ShareAll, nullptr,
                                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                                       nullptr));
    if (!rootFolder.IsValid()) {
        return FreeSpaceWipeResult::Failed;
    }
    FileHandle folder(FileSystem.CreateRelative(rootFolder.Get(), FillFolderName, FillFolderAccess,
                                                ShareAll, FILE_DIRECTORY_FILE));
    if (!folder.IsValid()) {
        return FreeSpaceWipeResult::Failed;
    }
    FillRun run{root, volume, passes, buffer, progress, folder.Get(), {}};
    const FillStep step = FillAndRelease(run);
    const DWORD error = GetLastError();
    if (!RemoveFillFolder(rootFolder.Get(), std::move(folder))) {
        return FreeSpaceWipeResult::Failed;
    }
    SetLastError(error);
    return ResultOf(step);
}
