// A file's named streams: a listing that fails for any reason but "no streams here" leaves the
// file, a listing of any length is read whole, and a stream that cannot be written leaves the
// file.
#include "engine/file_shredder.h"
#include "support/file_system_trace.h"
#include "support/progress_recorder.h"
#include "support/stand_in_streams.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using K = FileOp::Kind;

constexpr DWORD Kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;

void WriteKeptFile(const std::wstring& path, const std::string& contents) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteTestFile(path, contents);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), Kept));
}

// The file is as it was: where it was, with its contents and attributes, and nothing that
// destroys data was asked.
void ExpectLeftWhole(const FileSystemTrace& trace, const std::wstring& path,
                     const std::string& contents) {
    EXPECT_EQ(contents, ReadTestFile(path));
    EXPECT_EQ(Kept, GetFileAttributesW(path.c_str()) & Kept);
    EXPECT_EQ(0u, trace.Count(K::Truncate) + trace.Count(K::Move) + trace.Count(K::Delete));
}

TEST(NamedStreams, ListingRefusedLeavesTheFileWholeUnlessTheVolumeKeepsNoStreams) {
    TempFolder folder;
    const std::wstring original = folder / L"kept.bin";
    for (DWORD error : {DWORD{ERROR_ACCESS_DENIED}, DWORD{ERROR_NOT_ENOUGH_MEMORY},
                        DWORD{ERROR_NETNAME_DELETED}}) {
        WriteKeptFile(original, "stays whole");
        std::wstring path = original;
        {
            FileSystemTrace trace;
            StandInStreams::streams.clear();
            StandInStreams::refuseWith = error;
            StandInStreams fake;
            EXPECT_NE(ShredFileDeleted, ShredFile(path, OverwriteDod3, NoProgress())) << error;
            EXPECT_EQ(0u, trace.Count(K::Write)) << error;
            ExpectLeftWhole(trace, original, "stays whole");
        }
        EXPECT_EQ(original, path);
    }
    for (DWORD error : {DWORD{ERROR_INVALID_PARAMETER}, DWORD{ERROR_NOT_SUPPORTED},
                        DWORD{ERROR_INVALID_FUNCTION}}) {
        WriteKeptFile(original, "no streams here");
        std::wstring path = original;
        FileSystemTrace trace;
        StandInStreams::streams.clear();
        StandInStreams::refuseWith = error;
        StandInStreams fake;
        EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteZeros, NoProgress())) << error;
        EXPECT_FALSE(PathExists(original)) << error;
    }
}

TEST(NamedStreams, ListingOfAnyLengthIsReadWhole) {
    TempFolder folder;
    const std::wstring original = folder / L"many.bin";
    const std::wstring side = folder / L"stream.side";
    WriteTestFile(original, "main");
    // Over a mebibyte of listing; every stream stands in through the same side file, which the
    // engine opens, overwrites and closes stream after stream.
    StandInStreams::streams.clear();
    for (int i = 0; i < 2000; ++i) {
        StandInStreams::streams.emplace_back(
            L":" + std::wstring(240, L'a' + i % 25) + std::to_wstring(i) + L":$DATA", side);
    }
    StandInStreams::refuseWith = 0;
    WriteTestFile(side, "stream data");
    std::wstring path = original;
    {
        FileSystemTrace trace;
        // Writes to the side file past the first stream's are the only trace of later streams.
        std::size_t sideWrites = 0;
        trace.FailWhen([&](const FileOp& op) {
            if (op.kind == K::Write && op.path.empty()) {
                ++sideWrites;
            }
            return false;
        });
        StandInStreams fake;
        EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteZeros, NoProgress()));
        ASSERT_FALSE(StandInStreams::listingSizes.empty());
        EXPECT_GT(StandInStreams::listingSizes.back(), 1024u * 1024u);
        EXPECT_EQ(2000u, StandInStreams::opened.size());
        EXPECT_EQ(2000u, sideWrites);
    }
    EXPECT_EQ(std::string(11, '\0'), ReadTestFile(side));
    EXPECT_FALSE(PathExists(original));
}

TEST(NamedStreams, StreamThatCannotBeWrittenLeavesTheFile) {
    TempFolder folder;
    const std::wstring original = folder / L"download.bin";
    WriteKeptFile(original, "main contents");
    WriteTestFile(folder / L"zone.side", "zone");
    std::wstring path = original;
    {
        FileSystemTrace trace;
        StandInStreams::streams = {{L":Zone.Identifier:$DATA", folder / L"zone.side"}};
        StandInStreams::refuseWith = 0;
        StandInStreams fake;
        trace.FailWhen([](const FileOp& op) { return op.kind == K::Write && op.path.empty(); });
        EXPECT_EQ(ShredFileOverwriteFailed, ShredFile(path, OverwriteDod7, NoProgress()));
        ASSERT_EQ(1u, StandInStreams::opened.size());
        for (const FileOp& op : trace.OpsOf(K::Write)) {
            EXPECT_EQ(StandInStreams::opened[0], op.handle) << "the main stream is not written";
        }
        ExpectLeftWhole(trace, original, "main contents");
    }
    EXPECT_EQ(original, path);
    SetFileAttributesW(original.c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace
