// A file's named streams: each is overwritten with the method before the main stream, through
// the file's own handle; a listing that fails for any reason but "no streams here" leaves the
// file, a listing of any length is read whole, and a stream that cannot be written leaves the
// file.
#include "engine/file_shredder.h"
#include "engine/folder_shredder.h"
#include "engine/random.h"
#include "support/file_system_trace.h"
#include "support/fresh_thread.h"
#include "support/progress_recorder.h"
#include "support/reference_random.h"
#include "support/stand_in_streams.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

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

TEST(NamedStreams, EachIsOverwrittenWithTheMethodBeforeTheMainStreamThroughTheFile) {
    TempFolder folder;
    const std::wstring original = folder / L"download.bin";
    WriteTestFile(original, "abcd");
    WriteTestFile(folder / L"zone.side", "xyz");
    WriteTestFile(folder / L"two.side", "pq");
    OnFreshThread([&] {
        std::wstring path = original;
        FileSystemTrace trace;
        StandInStreams fake({{L":Zone.Identifier:$DATA", folder / L"zone.side"},
                             {L":two:$DATA", folder / L"two.side"}});
        EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteRandom, NoProgress()));

        const auto draws = ReferenceDraws(9 + 13);
        const auto writes = trace.OpsOf(K::Write);
        ASSERT_EQ(3u, writes.size());
        ASSERT_EQ(2u, StandInStreams::opened.size());
        EXPECT_EQ(StandInStreams::opened[0], writes[0].handle);
        EXPECT_EQ(LowBytes(draws, 0, 3), writes[0].bytes);
        EXPECT_EQ(StandInStreams::opened[1], writes[1].handle);
        EXPECT_EQ(LowBytes(draws, 3, 2), writes[1].bytes);
        EXPECT_EQ(LowBytes(draws, 5, 4), writes[2].bytes) << "the main stream comes last";
        EXPECT_EQ(ReferenceName(draws, 9, true),
                  trace.OpsOf(K::Move).at(0).newPath.substr(folder.Path().size() + 5));
        const auto opens = trace.OpsOf(K::Open);
        EXPECT_EQ(1u, std::count_if(opens.begin(), opens.end(),
                                    [&](const FileOp& op) {
                                        return op.path ==
                                               Extended(original) + L":Zone.Identifier:$DATA";
                                    }))
            << "each stream is opened relative to the file's handle";
        EXPECT_EQ(1u, trace.Count(K::Delete));
    });
    EXPECT_EQ(LowBytes(ReferenceDraws(3), 0, 3), ReadTestFile(folder / L"zone.side"));
    EXPECT_FALSE(PathExists(original));
}

TEST(NamedStreams, NoneListedOrListingRefusedChangesNothingElse) {
    TempFolder folder;
    std::vector<std::vector<K>> kinds;
    std::vector<std::vector<std::string>> written;
    for (bool refuse : {false, true}) {
        WriteTestFile(folder / L"four.bin", "abcd");
        OnFreshThread([&] {
            std::wstring path = folder / L"four.bin";
            FileSystemTrace trace;
            StandInStreams fake({}, refuse ? ERROR_INVALID_FUNCTION : 0);
            EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteRandom, NoProgress()));
            EXPECT_EQ(L"tydimofugc.qu",
                      trace.OpsOf(K::Move).at(0).newPath.substr(folder.Path().size() + 5));
            EXPECT_EQ(ReferenceDraws(135)[134], NextRandom()) << "4 fill draws and 130 names";
            kinds.push_back(trace.KindsWithout({}));
            written.emplace_back();
            for (const FileOp& op : trace.OpsOf(K::Write)) {
                written.back().push_back(op.bytes);
            }
        });
    }
    EXPECT_EQ(kinds[0], kinds[1]);
    EXPECT_EQ(written[0], written[1]);
    EXPECT_EQ(std::vector<std::string>{std::string("\x29\x23\xBE\x84", 4)}, written[0]);
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
            StandInStreams fake({}, error);
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
        StandInStreams fake({}, error);
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
    std::vector<std::pair<std::wstring, std::wstring>> streams;
    for (int i = 0; i < 2000; ++i) {
        streams.emplace_back(
            L":" + std::wstring(240, L'a' + i % 25) + std::to_wstring(i) + L":$DATA", side);
    }
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
        StandInStreams fake(std::move(streams));
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
        StandInStreams fake({{L":Zone.Identifier:$DATA", folder / L"zone.side"}});
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

// A folder's own streams are written through its walked handle before its renames; one that
// cannot be written keeps the folder where it is.
TEST(NamedStreams, FolderHasItsOwnOverwrittenBeforeItsRenamesOrStays) {
    TempFolder temp;
    const std::wstring original = temp / L"Project";
    for (bool refused : {false, true}) {
        MakeTestFolder(original);
        WriteTestFile(temp / L"notes.side", "secret");
        std::wstring path = original;
        FileSystemTrace trace;
        StandInStreams fake({{L":notes:$DATA", temp / L"notes.side"}});
        trace.FailWhen([&](const FileOp& op) { return refused && op.kind == K::Write; });
        EXPECT_EQ(refused ? ShredFolderIncomplete : ShredFolderRemoved,
                  ShredFolder(path, OverwriteZeros, NoProgress()));
        const auto kinds = trace.KindsWithout({});
        const auto write = std::find(kinds.begin(), kinds.end(), K::Write);
        EXPECT_EQ(write, std::find(kinds.begin(), write, K::Move)) << "written before its renames";
        EXPECT_EQ(Extended(original), trace.OpsOf(K::ListStreams).at(0).path);
        EXPECT_EQ(refused ? "secret" : std::string(6, '\0'), ReadTestFile(temp / L"notes.side"));
        EXPECT_EQ(refused, PathExists(original));
    }
}

} // namespace
