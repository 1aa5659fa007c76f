// NTFS compression, which Wine lacks, turned off through the data handle before the first pass.
#include "engine/file_shredder.h"
#include "support/file_system_trace.h"
#include "support/progress_recorder.h"
#include "support/stand_in_streams.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <winioctl.h>

#include <string>
#include <vector>

namespace {

using K = FileOp::Kind;

// Shows the file named compressedName as compressed, and records every file-system control: on
// which handle, which one, with which format, and how many operations the trace had seen before.
struct StandInCompression {
    struct Control {
        HANDLE handle;
        DWORD code;
        USHORT format;
        std::size_t opsBefore;
    };
    static inline std::wstring compressedName;
    static inline DWORD refuseWith = 0;
    static inline std::vector<Control> controls;
    static inline const FileSystemTrace* trace = nullptr;
    static inline FileSystemApi below;

    static BOOL WINAPI Query(HANDLE item, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
        if (!below.GetFileInformationByHandleEx(item, kind, info, size)) {
            return FALSE;
        }
        const std::wstring path = FileSystemTrace::PathOf(item);
        if (kind == FileBasicInfo && path.ends_with(L"\\" + compressedName)) {
            static_cast<FILE_BASIC_INFO*>(info)->FileAttributes |= FILE_ATTRIBUTE_COMPRESSED;
        }
        return TRUE;
    }

    static BOOL WINAPI Control(HANDLE item, DWORD code, LPVOID in, DWORD inSize, LPVOID, DWORD,
                               LPDWORD, LPOVERLAPPED) {
        const USHORT format = inSize >= sizeof(USHORT) ? *static_cast<USHORT*>(in) : 0xFFFF;
        controls.push_back({item, code, format, trace->Ops().size()});
        if (refuseWith != 0) {
            SetLastError(refuseWith);
            return FALSE;
        }
        return TRUE;
    }

    StandInCompression(const FileSystemTrace& recording, const std::wstring& name,
                       DWORD refuse = 0) {
        below = FileSystem;
        trace = &recording;
        compressedName = name;
        refuseWith = refuse;
        controls.clear();
        FileSystem.GetFileInformationByHandleEx = Query;
        FileSystem.DeviceIoControl = Control;
    }
};

TEST(Compression, IsTurnedOffThroughEachStreamBeforeItsFirstPassAndNeverAskedOtherwise) {
    TempFolder folder;
    WriteTestFile(folder / L"packed.bin", "compressible zeros");
    WriteTestFile(folder / L"zone.side", "zone");
    WriteTestFile(folder / L"plain.bin", "not compressed");
    {
        std::wstring path = folder / L"packed.bin";
        FileSystemTrace trace;
        StandInStreams streams({{L":Zone.Identifier:$DATA", folder / L"zone.side"}});
        StandInCompression compression(trace, L"packed.bin");
        EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteDod3, NoProgress()));

        const auto& controls = StandInCompression::controls;
        ASSERT_EQ(2u, controls.size());
        const auto& ops = trace.Ops();
        std::size_t firstWrite = ops.size();
        for (std::size_t i = 0; i < ops.size() && firstWrite == ops.size(); ++i) {
            firstWrite = ops[i].kind == K::Write ? i : firstWrite;
        }
        for (const auto& control : controls) {
            EXPECT_EQ(static_cast<DWORD>(FSCTL_SET_COMPRESSION), control.code);
            EXPECT_EQ(COMPRESSION_FORMAT_NONE, control.format);
        }
        EXPECT_LE(controls[0].opsBefore, firstWrite) << "before any pass of any stream";
        ASSERT_EQ(1u, StandInStreams::opened.size());
        EXPECT_EQ(StandInStreams::opened[0], controls[1].handle);
        // The main stream's is the handle its passes are written through.
        const auto writes = trace.OpsOf(K::Write);
        ASSERT_FALSE(writes.empty());
        EXPECT_EQ(controls[0].handle, writes.back().handle);
    }
    {
        std::wstring path = folder / L"plain.bin";
        FileSystemTrace trace;
        StandInCompression compression(trace, L"packed.bin");
        EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteZeros, NoProgress()));
        EXPECT_TRUE(StandInCompression::controls.empty());
    }
}

TEST(Compression, RefusedLeavesTheFileWhole) {
    TempFolder folder;
    const std::wstring original = folder / L"packed.bin";
    WriteTestFile(original, "compressed data");
    std::wstring path = original;
    {
        FileSystemTrace trace;
        StandInCompression compression(trace, L"packed.bin", ERROR_DISK_FULL);
        EXPECT_EQ(ShredFileOverwriteFailed, ShredFile(path, OverwriteRandom, NoProgress()));
        EXPECT_EQ(1u, StandInCompression::controls.size());
        EXPECT_EQ(0u, trace.Count(K::Write) + trace.Count(K::Truncate) + trace.Count(K::Move) +
                          trace.Count(K::Delete));
    }
    EXPECT_EQ("compressed data", ReadTestFile(original));
}

} // namespace
