// One free-space wipe under way: the volume, the method's passes, the buffer, the fill folder and
// every fill file made so far, each kept open until the end so that no later file takes its
// clusters or its file-table record.
#pragma once

#include "engine/fill_buffer.h"
#include "engine/fill_volume.h"
#include "engine/handles.h"
#include "engine/shred_progress.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// How a phase of the fill ended.
enum class FillStep {
    Done,    // finished what it set out to do
    Full,    // the volume had no room left
    Stopped, // the job asked to stop
    Failed,  // a write or a flush failed otherwise, or the volume could not be asked
};

struct FillRun {
    const std::wstring& root;
    const FillVolume& volume;
    std::span<const PassFill> passes;
    FillBuffer& buffer;
    ShredProgress& progress;
    HANDLE folder;
    std::vector<FileHandle> files;

    // Creates the next fill file in the folder with the given create options (besides
    // FILE_NON_DIRECTORY_FILE and FILE_DELETE_ON_CLOSE) and keeps it; INVALID_HANDLE_VALUE and
    // the last error when it cannot, or when the names are used up (ERROR_DISK_FULL then).
    HANDLE CreateNext(DWORD options);
};

// Puts the end of a file that a write without room may have moved back to length, and the
// position there; a file already that long is left as it is (under Wine, setting even the same
// end on a full volume fails).
bool CutBack(HANDLE file, std::uint64_t length);

// Every pass but the first over the first length bytes of file, each from byte 0 and flushed;
// Done, Stopped (between chunks) or Failed.
FillStep RewritePasses(FillRun& run, HANDLE file, std::uint64_t length);

// The clusters: fill file after fill file, each grown to the volume's cap per file by its first
// pass and then given the other passes, until the volume is full. Full when it is; Stopped or
// Failed otherwise.
FillStep FillClusters(FillRun& run);

// On NTFS, after FillClusters: fills free records of the file table with files small enough to
// live in a record, each taking every pass, until the table has no free record left or as many
// records as it held at the start were taken. Done on any other file system.
FillStep FillRecords(FillRun& run);
