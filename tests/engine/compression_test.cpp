// NTFS compression, which Wine lacks, asked of each stream's handle and turned off through it
// before the stream's first pass.
#include "engine/file_shredder.h"
#include "support/file_system_trace.h"
#include "support/progress_recorder.h"
#include "support/stand_in_streams.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <winioctl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using K = FileOp::Kind;

// Answers FSCTL_GET_COMPRESSION as NTFS does for a main stream and a named one (the stand-in
// stream opened last) each compressed or not, makes the control refusedCode fail with refuseWith,
// and records every FSCTL_SET_COMPRESSION: on which handle, with which format, and how many
// operations the trace had seen before.
struct StandInCompression {
    struct Control {
        HANDLE handle;
        USHORT format;
        std::size_t opsBefore;
    };
    static inline bool mainCompressed = false;
    static inline bool streamCompressed = false;
    static inline DWORD refusedCode = 0;
    static inline DWORD refuseWith = 0;
    static inline std::vector<Control> controls;
    static inline const FileSystemTrace* trace = nullptr;

    static BOOL WINAPI Answer(HANDLE item, DWORD code, LPVOID in, DWORD, LPVOID out, DWORD, LPDWORD,
                              LPOVERLAPPED) {
        const bool stream =
            !StandInStreams::opened.empty() && StandInStreams::opened.back() == item;
        if (code == refusedCode) {
            SetLastError(refuseWith);
            return FALSE;
        }
        if (code == FSCTL_GET_COMPRESSION) {
            *static_cast<USHORT*>(out) = (stream ? streamCompressed : mainCompressed)
                                             ? COMPRESSION_FORMAT_LZNT1
                                             : COMPRESSION_FORMAT_NONE;
        } else {
            controls.push_back({item, *static_cast<USHORT*>(in), trace->Ops().size()});
        }
        return TRUE;
    }

    StandInCompression(const FileSystemTrace& recording, bool main, bool named, DWORD refused = 0,
                       DWORD error = 0) {
        trace = &recording;
        mainCompressed = main;
        streamCompressed = named;
        refusedCode = refused;
        refuseWith = error;
        controls.clear();
        FileSystem.DeviceIoControl = Answer;
    }
};

// Whatever the file's attributes say (they show none), each compressed stream is stored plainly
// before its first pass, through the handle its passes are written through.
TEST(Compression, IsTurnedOffThroughEachCompressedStreamBeforeItsFirstPass) {
    TempFolder folder;
    for (const auto& [main, named] : {std::pair{true, true}, std::pair{false, true},
                                      std::pair{true, false}, std::pair{false, false}}) {
        WriteTestFile(folder / L"packed.bin", "compressible zeros");
        WriteTestFile(folder / L"zone.side", "zone");
        std::wstring path = folder / L"packed.bin";
        FileSystemTrace trace;
        StandInStreams streams({{L":Zone.Identifier:$DATA", folder / L"zone.side"}});
        StandInCompression compression(trace, main, named);
        EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteDod3, NoProgress()));

        const auto& controls = StandInCompression::controls;
        ASSERT_EQ(std::size_t{main} + named, controls.size());
        for (const auto& control : controls) {
            EXPECT_EQ(COMPRESSION_FORMAT_NONE, control.format);
            const auto& ops = trace.Ops();
            const auto firstWrite = std::find_if(ops.begin(), ops.end(), [&](const FileOp& op) {
                return op.kind == K::Write && op.handle == control.handle;
            });
            EXPECT_NE(ops.end(), firstWrite);
            EXPECT_LE(ops.begin() + control.opsBefore, firstWrite);
        }
    }
}

// Invalid function and not supported mean a volume without compression; any other failure to
// ask or to turn it off leaves the file whole.
TEST(Compression, RefusedLeavesTheFileWholeUnlessTheVolumeKnowsNone) {
    TempFolder folder;
    const std::wstring original = folder / L"packed.bin";
    struct Case {
        DWORD code;
        DWORD error;
        bool shredded;
    };
    for (const Case& c : {Case{FSCTL_SET_COMPRESSION, ERROR_DISK_FULL, false},
                          Case{FSCTL_GET_COMPRESSION, ERROR_ACCESS_DENIED, false},
                          Case{FSCTL_GET_COMPRESSION, ERROR_INVALID_FUNCTION, true},
                          Case{FSCTL_GET_COMPRESSION, ERROR_NOT_SUPPORTED, true}}) {
        WriteTestFile(original, "compressed data");
        std::wstring path = original;
        FileSystemTrace trace;
        StandInCompression compression(trace, true, true, c.code, c.error);
        EXPECT_EQ(c.shredded ? ShredFileDeleted : ShredFileOverwriteFailed,
                  ShredFile(path, OverwriteRandom, NoProgress()))
            << c.error;
        EXPECT_EQ(c.shredded ? 13u : 0u, trace.Count(K::Write) + trace.Count(K::Truncate) +
                                             trace.Count(K::Move) + trace.Count(K::Delete))
            << c.error;
        EXPECT_EQ(c.shredded, !PathExists(original)) << c.error;
    }
}

} // namespace
