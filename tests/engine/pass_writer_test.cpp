#include "engine/allocated_ranges.h"
#include "engine/overwrite_methods.h"
#include "engine/pass_writer.h"
#include "engine/random.h"
#include "support/contents_at_flush.h"
#include "support/file_system_trace.h"
#include "support/fresh_thread.h"
#include "support/open_test_file.h"
#include "support/reference_random.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <winioctl.h>

#include <algorithm>
#include <array>

namespace {

using K = FileOp::Kind;

// The sizes of the writes of each pass, a pass ending at its flush; writes after the last flush
// make a last pass of their own.
std::vector<std::vector<std::size_t>> WritesOfEachFlushedPass(const FileSystemTrace& trace) {
    std::vector<std::vector<std::size_t>> passes(1);
    for (const FileOp& op : trace.Ops()) {
        if (op.kind == K::Write) {
            passes.back().push_back(op.size);
        } else if (op.kind == K::Flush) {
            passes.emplace_back();
        }
    }
    if (passes.back().empty()) {
        passes.pop_back();
    }
    return passes;
}

// The chunk memory of the trace: the most alive at any moment, in bytes and in blocks, and what
// is still alive at its end.
struct ChunkMemory {
    std::size_t peak = 0;
    std::size_t mostBlocks = 0;
    std::size_t left = 0;
};

ChunkMemory ChunkMemoryOf(const FileSystemTrace& trace) {
    ChunkMemory memory;
    std::vector<std::size_t> alive;
    for (const FileOp& op : trace.Ops()) {
        if (op.kind == K::Allocate && !op.failed) {
            alive.push_back(op.size);
        } else if (op.kind == K::Free && !alive.empty()) {
            alive.pop_back();
        }
        std::size_t total = 0;
        for (std::size_t size : alive) {
            total += size;
        }
        memory.peak = std::max(memory.peak, total);
        memory.mostBlocks = std::max(memory.mostBlocks, alive.size());
        memory.left = total;
    }
    return memory;
}

TEST(WritePasses, Exactly64MiBIsOneChunkAndOneByteMoreIsTwo) {
    TempFolder folder;
    constexpr std::size_t MiB64 = 64u * 1024u * 1024u;
    ASSERT_EQ(MiB64, OverwriteChunkSize);
    OpenTestFile exact(folder / L"exact.bin", static_cast<std::int64_t>(MiB64));
    {
        FileSystemTrace trace;
        EXPECT_TRUE(OverwriteDod3(exact.Handle()));
        EXPECT_EQ((std::vector<std::vector<std::size_t>>(3, {MiB64})),
                  WritesOfEachFlushedPass(trace))
            << "three passes of one chunk, each flushed after its write";
        const ChunkMemory memory = ChunkMemoryOf(trace);
        EXPECT_EQ(MiB64, memory.peak) << "one chunk of memory for all three passes";
        EXPECT_EQ(1u, memory.mostBlocks);
        EXPECT_EQ(0u, memory.left);
        EXPECT_EQ(static_cast<std::int64_t>(MiB64), exact.Size());
    }
    OpenTestFile over(folder / L"over.bin", static_cast<std::int64_t>(MiB64 + 1));
    OnFreshThread([&] {
        FileSystemTrace trace;
        EXPECT_TRUE(OverwriteRandom(over.Handle()));
        EXPECT_EQ((std::vector<std::vector<std::size_t>>{{MiB64, 1}}),
                  WritesOfEachFlushedPass(trace))
            << "one flush, after the pass's last chunk";
        const ChunkMemory memory = ChunkMemoryOf(trace);
        EXPECT_EQ(MiB64, memory.peak);
        EXPECT_EQ(1u, memory.mostBlocks);
        EXPECT_EQ(0u, memory.left);
        const auto draws = ReferenceDraws(MiB64 + 2);
        const std::string contents = over.Contents();
        ASSERT_EQ(MiB64 + 1, contents.size());
        EXPECT_EQ(LowBytes(draws, 0, 16), contents.substr(0, 16));
        EXPECT_EQ(LowBytes(draws, MiB64 - 16, 17), contents.substr(MiB64 - 16))
            << "the second chunk continues the sequence";
        EXPECT_EQ(draws[MiB64 + 1], NextRandom());
    });
    ASSERT_EQ(0u, SetFilePointer(over.Handle(), 0, nullptr, FILE_BEGIN));
    FileSystemTrace trace;
    EXPECT_TRUE(OverwriteZeros(over.Handle()));
    EXPECT_EQ((std::vector<std::vector<std::size_t>>{{MiB64, 1}}), WritesOfEachFlushedPass(trace));
    EXPECT_TRUE(std::string(MiB64 + 1, '\0') == over.Contents()) << "a fixed byte in every chunk";
}

TEST(WritePasses, NoMoreChunkMemoryThanTheFileNeedsAndAllGivenBack) {
    TempFolder folder;
    OpenTestFile file(folder / L"small.bin", "0123456789");
    FileSystemTrace trace;
    EXPECT_TRUE(OverwriteDod7(file.Handle()));
    const ChunkMemory memory = ChunkMemoryOf(trace);
    EXPECT_EQ(10u, memory.peak);
    EXPECT_EQ(1u, memory.mostBlocks);
    EXPECT_EQ(0u, memory.left);
}

// A sparse file as NTFS shows it: the sparse attribute, and its allocated ranges listed by
// FSCTL_QUERY_ALLOCATED_RANGES, at most one per answer (so that every further range takes
// another call that starts where the last answer ended), or the listing refused.
struct StandInSparseFile {
    static inline std::vector<ByteRange> allocated;
    static inline bool refuse = false;
    static inline std::vector<std::int64_t> askedFrom;
    static inline FileSystemApi below;

    StandInSparseFile() {
        askedFrom.clear();
        below = FileSystem;
        FileSystem.GetFileInformationByHandleEx = [](HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind,
                                                     LPVOID info, DWORD size) -> BOOL {
            const BOOL ok = below.GetFileInformationByHandleEx(file, kind, info, size);
            if (ok && kind == FileAttributeTagInfo) {
                static_cast<FILE_ATTRIBUTE_TAG_INFO*>(info)->FileAttributes |=
                    FILE_ATTRIBUTE_SPARSE_FILE;
            }
            return ok;
        };
        FileSystem.DeviceIoControl = [](HANDLE, DWORD code, LPVOID in, DWORD, LPVOID out,
                                        DWORD outSize, LPDWORD returned, LPOVERLAPPED) -> BOOL {
            EXPECT_EQ(static_cast<DWORD>(FSCTL_QUERY_ALLOCATED_RANGES), code);
            const auto* query = static_cast<const FILE_ALLOCATED_RANGE_BUFFER*>(in);
            askedFrom.push_back(query->FileOffset.QuadPart);
            *returned = 0;
            if (refuse) {
                SetLastError(ERROR_ACCESS_DENIED);
                return FALSE;
            }
            const std::int64_t end = query->FileOffset.QuadPart + query->Length.QuadPart;
            std::vector<ByteRange> left;
            for (const ByteRange& range : allocated) {
                if (range.offset + range.length > query->FileOffset.QuadPart &&
                    range.offset < end) {
                    left.push_back(range);
                }
            }
            if (!left.empty() && outSize >= sizeof(FILE_ALLOCATED_RANGE_BUFFER)) {
                auto* answer = static_cast<FILE_ALLOCATED_RANGE_BUFFER*>(out);
                answer->FileOffset.QuadPart = left[0].offset;
                answer->Length.QuadPart = left[0].length;
                *returned = sizeof(FILE_ALLOCATED_RANGE_BUFFER);
            }
            if (left.size() > 1) {
                SetLastError(ERROR_MORE_DATA);
                return FALSE;
            }
            return TRUE;
        };
    }
    StandInSparseFile(const StandInSparseFile&) = delete;
    StandInSparseFile& operator=(const StandInSparseFile&) = delete;

private:
    FileSystemOverride restore_;
};

TEST(SparseFiles, EveryPassWritesExactlyTheTwoAllocatedRanges) {
    TempFolder folder;
    const std::wstring path = folder / L"sparse.bin";
    constexpr std::size_t Size = 20000;
    StandInSparseFile::allocated = {{100, 300}, {12000, 5000}};
    StandInSparseFile::refuse = false;
    OnFreshThread([&] {
        OpenTestFile file(path, std::string(Size, 'x'));
        FileSystemTrace trace;
        StandInSparseFile sparse;
        ContentsAtFlush flushes(path);
        EXPECT_TRUE(OverwriteDod3(file.Handle()));
        EXPECT_EQ((std::vector<std::int64_t>{0, 400}), StandInSparseFile::askedFrom)
            << "listed once, asked again after the first range for the rest";
        const auto draws = ReferenceDraws(5301);
        const std::array<std::array<std::string, 2>, 3> expected{{
            {std::string(300, '\0'), std::string(5000, '\0')},
            {std::string(300, '\xFF'), std::string(5000, '\xFF')},
            {LowBytes(draws, 0, 300), LowBytes(draws, 300, 5000)},
        }};
        ASSERT_EQ(3u, ContentsAtFlush::Seen().size());
        for (std::size_t pass = 0; pass < expected.size(); ++pass) {
            std::string want(Size, 'x');
            want.replace(100, 300, expected[pass][0]);
            want.replace(12000, 5000, expected[pass][1]);
            EXPECT_TRUE(want == ContentsAtFlush::Seen()[pass])
                << "pass " << pass + 1 << ": the ranges and nothing else";
        }
        EXPECT_EQ(5000u, ChunkMemoryOf(trace).peak) << "a chunk as large as the largest range";
        EXPECT_EQ(draws[5300], NextRandom()) << "one draw per byte of the ranges";
    });
}

TEST(SparseFiles, RangesThatCannotBeListedMeanTheWholeLength) {
    TempFolder folder;
    const std::wstring path = folder / L"unlisted.bin";
    StandInSparseFile::allocated = {{0, 10}};
    StandInSparseFile::refuse = true;
    OpenTestFile file(path, std::string(3000, 'x'));
    StandInSparseFile sparse;
    EXPECT_TRUE(OverwriteZeros(file.Handle()));
    EXPECT_EQ(1u, StandInSparseFile::askedFrom.size());
    EXPECT_TRUE(std::string(3000, '\0') == file.Contents());
}

TEST(SparseFiles, AFileThatIsNotSparseIsNeverAskedForItsRanges) {
    TempFolder folder;
    OpenTestFile file(folder / L"plain.bin", "abcdef");
    FileSystemOverride restore;
    static int asked = 0;
    asked = 0;
    FileSystem.DeviceIoControl = [](HANDLE, DWORD, LPVOID, DWORD, LPVOID, DWORD, LPDWORD,
                                    LPOVERLAPPED) -> BOOL {
        ++asked;
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    };
    EXPECT_TRUE(OverwriteDod3(file.Handle()));
    EXPECT_EQ(0, asked);
}

TEST(WritePasses, FailedWriteInPass2OfDod7StopsEverything) {
    TempFolder folder;
    OnFreshThread([&] {
        OpenTestFile file(folder / L"fails.bin", "0123456789");
        FileSystemTrace trace;
        trace.FailWhen(
            [&](const FileOp& op) { return op.kind == K::Write && trace.Count(K::Write) == 1; });
        EXPECT_FALSE(OverwriteDod7(file.Handle()));
        EXPECT_EQ(2u, trace.Count(K::Write)) << "passes 3 to 7 are never written";
        EXPECT_EQ(1u, trace.Count(K::Flush));
        EXPECT_EQ(trace.Count(K::Allocate), trace.Count(K::Free)) << "the buffer is released";
        EXPECT_EQ(std::string(10, '\0'), file.Contents()) << "pass 1 stays written";
        EXPECT_EQ(41, NextRandom()) << "no random pass was filled";
    });
}

TEST(WritePasses, UnknownSizeFailsWithoutWriting) {
    TempFolder folder;
    for (ShredMethod method : ShredMethods) {
        OpenTestFile file(folder / L"size.bin", "keep me");
        FileSystemTrace trace;
        trace.FailWhen([](const FileOp& op) { return op.kind == K::SizeQuery; });
        EXPECT_FALSE(method(file.Handle()));
        EXPECT_EQ(0u, trace.Count(K::Write));
        EXPECT_EQ("keep me", file.Contents());
    }
}

TEST(WritePasses, FailedAllocationFailsTheMethodWithoutWriting) {
    TempFolder folder;
    for (ShredMethod method : ShredMethods) {
        OpenTestFile file(folder / L"memory.bin", "keep me");
        FileSystemTrace trace;
        trace.FailWhen([](const FileOp& op) { return op.kind == K::Allocate; });
        EXPECT_FALSE(method(file.Handle()));
        EXPECT_EQ(0u, trace.Count(K::Write));
        EXPECT_EQ(0u, trace.Count(K::Free));
        EXPECT_EQ("keep me", file.Contents());
    }
}

TEST(WritePasses, FailedFlushOrRewindIsNotSuccess) {
    TempFolder folder;
    {
        OpenTestFile file(folder / L"flush.bin", "abc");
        FileSystemTrace trace;
        trace.FailWhen([](const FileOp& op) { return op.kind == K::Flush; });
        EXPECT_FALSE(OverwriteZeros(file.Handle()));
        EXPECT_FALSE(OverwriteDod3(file.Handle()));
        EXPECT_EQ(2u, trace.Count(K::Write))
            << "nothing after the pass that did not reach the disk";
    }
    OpenTestFile file(folder / L"rewind.bin", "abc");
    FileSystemTrace trace;
    trace.FailWhen([](const FileOp& op) { return op.kind == K::Seek; });
    EXPECT_FALSE(OverwriteGutmann(file.Handle()));
    EXPECT_EQ(0u, trace.Count(K::Write));
    EXPECT_EQ("abc", file.Contents());
}

TEST(WritePasses, ShortWriteIsAFailedWrite) {
    TempFolder folder;
    OpenTestFile file(folder / L"short.bin", "abcdef");
    FileSystemOverride restore;
    FileSystem.WriteFile = [](HANDLE handle, LPCVOID buffer, DWORD size, LPDWORD written,
                              LPOVERLAPPED overlapped) -> BOOL {
        return RealFileSystem.WriteFile(handle, buffer, size / 2, written, overlapped);
    };
    EXPECT_FALSE(OverwriteDod7(file.Handle()));
    EXPECT_EQ(std::string(3, '\0') + "def", file.Contents());
}

} // namespace
