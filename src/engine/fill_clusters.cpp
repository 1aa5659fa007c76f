#include "engine/fill_names.h"
#include "engine/fill_run.h"

#include <winternl.h>

#include <algorithm>

namespace {

// Unbuffered, so that no page of the fill waits in the cache, and write-through, so that each
// write is on the disk when it returns.
constexpr DWORD ClusterFillOptions = FILE_NO_INTERMEDIATE_BUFFERING | FILE_WRITE_THROUGH;

std::uint64_t WholeClusters(std::uint64_t bytes, std::uint32_t cluster) {
    return bytes / cluster * cluster;
}

bool SeekTo(HANDLE file, std::uint64_t offset) {
    LONG high = static_cast<LONG>(offset >> 32);
    const auto low = static_cast<DWORD>(offset & 0xFFFFFFFF);
    SetLastError(NO_ERROR);
    const DWORD reached =
        FileSystem.SetFilePointer(file, static_cast<LONG>(low), &high, FILE_BEGIN);
    return GetLastError() == NO_ERROR && reached == low &&
           static_cast<std::uint64_t>(high) == offset >> 32;
}

// Writes the next bytes of a pass; false when not all of them went in.
bool WritePiece(FillRun& run, HANDLE file, PassFill fill, std::size_t bytes) {
    DWORD written = 0;
    return FileSystem.WriteFile(file, run.buffer.Fill(fill, bytes), static_cast<DWORD>(bytes),
                                &written, nullptr) &&
           written == bytes;
}

enum class Growth {
    Fitted,    // written in full and flushed
    Short,     // the volume took less than the whole piece
    Unflushed, // written, but the flush found no room for it
    Failed,
};

// One piece of the first pass, flushed: a flush can be where a full volume shows (a file system
// that allocates only when it writes back), and a piece is not on the disk before it.
Growth WriteGrowth(FillRun& run, HANDLE file, std::size_t piece) {
    SetLastError(ERROR_DISK_FULL); // a short write without an error took all the volume had
    if (!WritePiece(run, file, run.passes.front(), piece)) {
        return IsDiskFull(GetLastError()) ? Growth::Short : Growth::Failed;
    }
    if (FileSystem.FlushFileBuffers(file)) {
        return Growth::Fitted;
    }
    return IsDiskFull(GetLastError()) ? Growth::Unflushed : Growth::Failed;
}

// After a piece the volume had no room for. A write that put in part of the piece filled the
// volume: what it put in is kept once flushed, and growth ends (Full). On Windows a failed write
// adds nothing, and cutting an open file back breaks later writes to it on fusefat. What never
// reached the disk is cut off, and the piece tried smaller (Done); the flush after the cut lets a
// file system that holds freed space back until its journal commits (ext4) give it back.
FillStep SettleAfterNoRoom(FillRun& run, HANDLE file, Growth growth, std::uint64_t& length) {
    LARGE_INTEGER size{};
    if (!FileSystem.GetFileSizeEx(file, &size)) {
        return FillStep::Failed;
    }
    const auto reached = static_cast<std::uint64_t>(size.QuadPart);
    if (growth == Growth::Short && reached > length && FileSystem.FlushFileBuffers(file)) {
        run.progress.BytesWritten(reached - length);
        length = reached;
        return FillStep::Full;
    }
    return CutBack(file, length) && FileSystem.FlushFileBuffers(file) ? FillStep::Done
                                                                      : FillStep::Failed;
}

// The first pass over a new file, growing it by pieces of at most one chunk, no more than the
// free space in whole clusters (when it shows one) and no further than the cap. After a piece the
// volume has no room for, the next ones are half its size, in whole clusters, so that
// growth ends after a bounded number of tries even while another program takes or frees space;
// a piece of one cluster that finds no room ends growth (Full). length: how far the file got.
FillStep Grow(FillRun& run, HANDLE file, std::uint64_t& length) {
    const std::uint32_t cluster = run.volume.clusterBytes;
    std::uint64_t limit =
        std::max<std::uint64_t>(WholeClusters(run.buffer.Size(), cluster), cluster);
    length = 0;
    while (length < run.volume.fileCap) {
        if (run.progress.StopRequested()) {
            return FillStep::Stopped;
        }
        std::uint64_t fillable = 0;
        if (!ReadFillableSpace(run.root, fillable)) {
            return FillStep::Failed;
        }
        // A volume that shows no whole cluster free may still take more (space it keeps in
        // reserve, space freed meanwhile): the pieces keep their size until one finds no room.
        const std::uint64_t free = WholeClusters(fillable, cluster);
        const std::uint64_t piece =
            std::min({limit, run.volume.fileCap - length, free > 0 ? free : limit});
        const Growth growth = WriteGrowth(run, file, static_cast<std::size_t>(piece));
        if (growth == Growth::Failed) {
            return FillStep::Failed;
        }
        if (growth == Growth::Fitted) {
            length += piece;
            run.progress.BytesWritten(piece);
            continue;
        }
        const FillStep settled = SettleAfterNoRoom(run, file, growth, length);
        if (settled != FillStep::Done) {
            return settled;
        }
        if (piece <= cluster) {
            return FillStep::Full;
        }
        limit = std::max<std::uint64_t>(WholeClusters(piece / 2, cluster), cluster);
    }
    return FillStep::Done;
}

} // namespace

bool CutBack(HANDLE file, std::uint64_t length) {
    LARGE_INTEGER size{};
    if (!FileSystem.GetFileSizeEx(file, &size) || !SeekTo(file, length)) {
        return false;
    }
    return static_cast<std::uint64_t>(size.QuadPart) == length || FileSystem.SetEndOfFile(file);
}

HANDLE FillRun::CreateNext(DWORD options) {
    if (files.size() >= MaxFillFiles) {
        SetLastError(ERROR_DISK_FULL);
        return INVALID_HANDLE_VALUE;
    }
    const std::wstring name = FillFileName(static_cast<std::uint32_t>(files.size() + 1));
    FileHandle file(
        FileSystem.CreateRelative(folder, name.c_str(), FILE_GENERIC_WRITE | DELETE, 0,
                                  options | FILE_NON_DIRECTORY_FILE | FILE_DELETE_ON_CLOSE));
    if (!file.IsValid()) {
        return INVALID_HANDLE_VALUE;
    }
    files.push_back(std::move(file));
    return files.back().Get();
}

FillStep RewritePasses(FillRun& run, HANDLE file, std::uint64_t length) {
    for (const PassFill& fill : run.passes.subspan(1)) {
        if (!SeekTo(file, 0)) {
            return FillStep::Failed;
        }
        for (std::uint64_t remaining = length; remaining > 0;) {
            if (run.progress.StopRequested()) {
                return FillStep::Stopped;
            }
            const auto chunk =
                static_cast<std::size_t>(std::min<std::uint64_t>(remaining, run.buffer.Size()));
            if (!WritePiece(run, file, fill, chunk)) {
                return FillStep::Failed;
            }
            run.progress.BytesWritten(chunk);
            remaining -= chunk;
        }
        if (!FileSystem.FlushFileBuffers(file)) {
            return FillStep::Failed;
        }
    }
    return FillStep::Done;
}

FillStep FillClusters(FillRun& run) {
    for (;;) {
        if (run.progress.StopRequested()) {
            return FillStep::Stopped;
        }
        const HANDLE file = run.CreateNext(ClusterFillOptions);
        if (file == INVALID_HANDLE_VALUE) {
            // Not even a new name fits: the volume is full already.
            return IsDiskFull(GetLastError()) ? FillStep::Full : FillStep::Failed;
        }
        std::uint64_t length = 0;
        const FillStep grown = Grow(run, file, length);
        if (grown == FillStep::Stopped || grown == FillStep::Failed) {
            return grown;
        }
        const FillStep rewritten = RewritePasses(run, file, length);
        if (rewritten != FillStep::Done) {
            return rewritten;
        }
        if (grown == FillStep::Full) {
            return FillStep::Full;
        }
    }
}
