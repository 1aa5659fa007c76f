#include "engine/fill_run.h"

#include <winioctl.h>
#include <winternl.h>

namespace {

// Buffered (a record's data is no whole number of sectors) and write-through.
constexpr DWORD RecordFillOptions = FILE_WRITE_THROUGH;

// What a record of a file named by eight capitals and digits holds besides its data: the
// record's header (56 bytes), standard information (96), the one name (112), the data
// attribute's header (24) and the end mark (8). More data than the rest makes NTFS move it out
// to a cluster, which a full volume has none of: the write fails as disk full.
constexpr std::uint32_t RecordOverhead = 296;
constexpr std::uint32_t RecordDataStep = 8;
// How many smaller sizes a record's data is tried at before the table counts as full.
constexpr int RecordSizeTries = 16;

// Where the table's size and record size cannot be read (other implementations of NTFS): its
// usual record size, and a bound on the records taken.
constexpr std::uint32_t DefaultRecordBytes = 1024;
constexpr std::uint64_t FallbackRecordFills = 65536;

struct TableFacts {
    std::uint32_t recordBytes = DefaultRecordBytes;
    std::uint64_t validBytes = 0; // 0: not known
};

TableFacts ReadTable(HANDLE folder) {
    NTFS_VOLUME_DATA_BUFFER data{};
    DWORD returned = 0;
    TableFacts facts;
    if (FileSystem.DeviceIoControl(folder, FSCTL_GET_NTFS_VOLUME_DATA, nullptr, 0, &data,
                                   sizeof(data), &returned, nullptr) &&
        returned >= sizeof(data) && data.BytesPerFileRecordSegment > RecordOverhead) {
        facts.recordBytes = data.BytesPerFileRecordSegment;
        facts.validBytes = static_cast<std::uint64_t>(data.MftValidDataLength.QuadPart);
    }
    return facts;
}

// The first pass of a record's file: as much data as the record holds, found by trying smaller
// sizes after each disk full. size carries the size that fitted on to the next record. Full when
// no size fitted.
FillStep WriteRecordData(FillRun& run, HANDLE file, std::uint32_t& size) {
    for (int tries = 0; tries < RecordSizeTries && size > 0; ++tries) {
        DWORD written = 0;
        const BOOL done = FileSystem.WriteFile(file, run.buffer.Fill(run.passes.front(), size),
                                               size, &written, nullptr);
        if (written > 0) {
            run.progress.BytesWritten(written);
        }
        if (done && written == size) {
            return FileSystem.FlushFileBuffers(file) ? FillStep::Done : FillStep::Failed;
        }
        if (!done && !IsDiskFull(GetLastError())) {
            return FillStep::Failed;
        }
        if (!CutBack(file, 0)) {
            return FillStep::Failed;
        }
        size = size > RecordDataStep ? size - RecordDataStep : 0;
    }
    return FillStep::Full;
}

} // namespace

FillStep FillRecords(FillRun& run) {
    if (!run.volume.ntfs) {
        return FillStep::Done;
    }
    const TableFacts start = ReadTable(run.folder);
    const std::uint64_t bound =
        start.validBytes > 0 ? start.validBytes / start.recordBytes : FallbackRecordFills;
    std::uint32_t size = start.recordBytes - RecordOverhead;
    for (std::uint64_t taken = 0; taken < bound; ++taken) {
        if (run.progress.StopRequested()) {
            return FillStep::Stopped;
        }
        const HANDLE file = run.CreateNext(RecordFillOptions);
        if (file == INVALID_HANDLE_VALUE) {
            // No free record and no room to make one, or no room for the name in the folder;
            // a volume that answers otherwise when full (fusefat: access denied) ends here too.
            return FillStep::Done;
        }
        const FillStep written = WriteRecordData(run, file, size);
        // A volume that does not answer as NTFS does (under Wine every volume calls itself
        // NTFS) may refuse small data on a full volume in its own way: that ends the phase too.
        if (written == FillStep::Full || (written == FillStep::Failed && start.validBytes == 0)) {
            return FillStep::Done;
        }
        if (written != FillStep::Done) {
            return written;
        }
        const FillStep rewritten = RewritePasses(run, file, size);
        if (rewritten != FillStep::Done) {
            return rewritten;
        }
        // A table that grew had no free record left: the new one came from free space.
        if (start.validBytes > 0 && ReadTable(run.folder).validBytes > start.validBytes) {
            return FillStep::Done;
        }
    }
    return FillStep::Done;
}
