#include "engine/allocated_ranges.h"
#include "engine/overwrite_methods.h"
#include "engine/random.h"
#include "support/file_system_trace.h"
#include "support/fresh_thread.h"
#include "support/reference_random.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <winioctl.h>

#include <algorithm>
#include <array>

namespace {

using K = FileOp::Kind;

// An open test file, positioned at byte 0 like a file the shredder has just opened.
class OpenTestFile {
public:
    OpenTestFile(const std::wstring& path, const std::string& contents) : path_(path) {
        WriteTestFile(path, contents);
        Open();
    }
    // A file of size bytes, made by setting its end (no data written).
    OpenTestFile(const std::wstring& path, std::int64_t size) : path_(path) {
        WriteTestFile(path, "");
        Open();
        LARGE_INTEGER end{};
        end.QuadPart = size;
        SetFilePointerEx(handle_, end, nullptr, FILE_BEGIN);
        SetEndOfFile(handle_);
        SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
    }
    ~OpenTestFile() { CloseHandle(handle_); }
    OpenTestFile(const OpenTestFile&) = delete;
    OpenTestFile& operator=(const OpenTestFile&) = delete;

    HANDLE& Handle() { return handle_; }
    std::string Contents() const { return ReadTestFile(path_); }
    std::int64_t Position() const {
        LARGE_INTEGER zero{}, position{};
        SetFilePointerEx(handle_, zero, &position, FILE_CURRENT);
        return position.QuadPart;
    }

private:
    void Open() {
        handle_ =
            CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, handle_);
    }

    std::wstring path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

std::string LowBytes(const std::vector<int>& draws, std::size_t first, std::size_t count) {
    std::string bytes;
    for (std::size_t i = first; i < first + count; ++i) {
        bytes += static_cast<char>(draws[i] & 0xFF);
    }
    return bytes;
}

// The bytes of every write, in order (each pass of a small file is one write).
std::vector<std::string> RewoundPasses(const FileSystemTrace& trace) {
    std::vector<std::string> passes;
    for (const FileOp& op : trace.OpsOf(K::Write)) {
        passes.push_back(op.bytes);
    }
    return passes;
}

TEST(ShredMethods, TableFollowsTheRadioButtons) {
    const std::array<ShredMethod, ShredMethodCount> expected{
        OverwriteZeros, OverwriteRandom, OverwriteDod3, OverwriteDod7, OverwriteGutmann};
    for (int i = 0; i < ShredMethodCount; ++i) {
        EXPECT_EQ(expected[i], ShredMethods[i]) << "index " << i;
    }
}

TEST(OverwriteRandom, FirstBytesOfAFreshThreadAndOneDrawPerByte) {
    TempFolder folder;
    OnFreshThread([&] {
        OpenTestFile file(folder / L"four.bin", "abcd");
        FileSystemTrace trace;
        EXPECT_TRUE(OverwriteRandom(file.Handle()));
        EXPECT_EQ(std::string("\x29\x23\xBE\x84", 4), file.Contents());
        EXPECT_EQ(0u, trace.Count(K::Seek)) << "writes from where the caller left the file";
        EXPECT_EQ(19169, NextRandom()) << "exactly four draws";
    });
}

TEST(OverwriteZeros, WritesFromTheCurrentPositionAndDrawsNothing) {
    TempFolder folder;
    OnFreshThread([&] {
        OpenTestFile file(folder / L"zeros.bin", "abcdef");
        FileSystemTrace trace;
        EXPECT_TRUE(OverwriteZeros(file.Handle()));
        EXPECT_EQ(std::string(6, '\0'), file.Contents());
        EXPECT_EQ(0u, trace.Count(K::Seek));
        EXPECT_EQ(1u, trace.Count(K::Flush));
        EXPECT_EQ(41, NextRandom());
    });
}

TEST(OverwriteDod3, TenBytesZerosThenOnesThenRandomEachRewoundAndFlushed) {
    TempFolder folder;
    OnFreshThread([&] {
        OpenTestFile file(folder / L"ten.bin", "0123456789");
        FileSystemTrace trace;
        EXPECT_TRUE(OverwriteDod3(file.Handle()));
        const auto draws = ReferenceDraws(11);
        const std::vector<K> onePass{K::Seek, K::Write, K::Flush};
        std::vector<K> expectedKinds{K::SizeQuery};
        for (int pass = 0; pass < 3; ++pass) {
            expectedKinds.insert(expectedKinds.end(), onePass.begin(), onePass.end());
        }
        EXPECT_EQ(expectedKinds, trace.KindsWithout({K::ReadTag, K::Allocate, K::Free}))
            << "each pass rewound, written and flushed before the next";
        const std::vector<std::string> expectedPasses{
            std::string(10, '\0'), std::string(10, '\xFF'), LowBytes(draws, 0, 10)};
        EXPECT_EQ(expectedPasses, RewoundPasses(trace));
        EXPECT_EQ(LowBytes(draws, 0, 10), file.Contents()) << "10 bytes long at the end";
        EXPECT_EQ(draws[10], NextRandom());
    });
}

TEST(OverwriteDod7, SevenPassesTwoOfThemRandomFromOneSequence) {
    TempFolder folder;
    OnFreshThread([&] {
        OpenTestFile file(folder / L"seven.bin", "abcdefgh");
        FileSystemTrace trace;
        EXPECT_TRUE(OverwriteDod7(file.Handle()));
        const auto draws = ReferenceDraws(17);
        const std::vector<std::string> expected{std::string(8, '\0'),  std::string(8, '\xFF'),
                                                LowBytes(draws, 0, 8), std::string(8, '\x96'),
                                                std::string(8, '\0'),  std::string(8, '\xFF'),
                                                LowBytes(draws, 8, 8)};
        EXPECT_EQ(expected, RewoundPasses(trace));
        EXPECT_EQ(7u, trace.Count(K::Seek));
        EXPECT_EQ(7u, trace.Count(K::Flush));
        EXPECT_EQ(LowBytes(draws, 8, 8), file.Contents());
        EXPECT_EQ(draws[16], NextRandom());
    });
}

// Passes 1 to 35, three sub-passes each; -1 for random.
constexpr std::array<std::array<int, 3>, 35> GutmannPasses{{
    {-1, -1, -1},       {-1, -1, -1},       {-1, -1, -1},       {-1, -1, -1},
    {0x55, 0x55, 0x55}, {0xAA, 0xAA, 0xAA}, {0x92, 0x49, 0x24}, {0x49, 0x24, 0x92},
    {0x24, 0x92, 0x49}, {0x00, 0x00, 0x00}, {0x11, 0x11, 0x11}, {0x22, 0x22, 0x22},
    {0x33, 0x33, 0x33}, {0x44, 0x44, 0x44}, {0x55, 0x55, 0x55}, {0x66, 0x66, 0x66},
    {0x77, 0x77, 0x77}, {0x88, 0x88, 0x88}, {0x99, 0x99, 0x99}, {0xAA, 0xAA, 0xAA},
    {0xBB, 0xBB, 0xBB}, {0xCC, 0xCC, 0xCC}, {0xDD, 0xDD, 0xDD}, {0xEE, 0xEE, 0xEE},
    {0xFF, 0xFF, 0xFF}, {0x92, 0x49, 0x24}, {0x49, 0x24, 0x92}, {0x24, 0x92, 0x49},
    {0x6D, 0xB6, 0xDB}, {0xB6, 0xDB, 0x6D}, {0xDB, 0x6D, 0xB6}, {-1, -1, -1},
    {-1, -1, -1},       {-1, -1, -1},       {-1, -1, -1},
}};

TEST(OverwriteGutmann, HundredAndFiveSubPassesInTheGutmannOrder) {
    TempFolder folder;
    constexpr std::size_t Size = 6;
    OnFreshThread([&] {
        OpenTestFile file(folder / L"gutmann.bin", "secret");
        FileSystemTrace trace;
        EXPECT_TRUE(OverwriteGutmann(file.Handle()));
        const auto draws = ReferenceDraws(24 * Size + 1);
        std::vector<std::string> expected;
        std::size_t nextDraw = 0;
        for (const auto& pass : GutmannPasses) {
            for (int value : pass) {
                if (value < 0) {
                    expected.push_back(LowBytes(draws, nextDraw, Size));
                    nextDraw += Size;
                } else {
                    expected.push_back(std::string(Size, static_cast<char>(value)));
                }
            }
        }
        ASSERT_EQ(24 * Size, nextDraw);
        EXPECT_EQ(expected, RewoundPasses(trace));
        EXPECT_EQ(105u, trace.Count(K::Seek));
        EXPECT_EQ(105u, trace.Count(K::Flush));
        EXPECT_EQ(expected.back(), file.Contents());
        EXPECT_EQ(draws[24 * Size], NextRandom()) << "24 random overwrites, one draw per byte";
    });
}

TEST(OverwriteGutmann, Pass7EndsAll24AndPass29EndsAllDBOnTheDisk) {
    TempFolder folder;
    const std::wstring path = folder / L"passes.bin";
    OnFreshThread([&] {
        OpenTestFile file(path, std::string(5, 'x'));
        // What the file holds right after each sub-pass's flush.
        static std::vector<std::string> afterSubPass;
        static std::wstring watched;
        afterSubPass.clear();
        watched = path;
        FileSystemOverride restore;
        FileSystem.FlushFileBuffers = [](HANDLE handle) -> BOOL {
            const BOOL ok = RealFileSystem.FlushFileBuffers(handle);
            afterSubPass.push_back(ReadTestFile(watched));
            return ok;
        };
        EXPECT_TRUE(OverwriteGutmann(file.Handle()));
        ASSERT_EQ(105u, afterSubPass.size());
        const std::size_t pass7 = (7 - 1) * 3;
        EXPECT_EQ(std::string(5, '\x92'), afterSubPass[pass7]);
        EXPECT_EQ(std::string(5, '\x49'), afterSubPass[pass7 + 1]);
        EXPECT_EQ(std::string(5, '\x24'), afterSubPass[pass7 + 2]);
        const std::size_t pass29 = (29 - 1) * 3;
        EXPECT_EQ(std::string(5, '\x6D'), afterSubPass[pass29]);
        EXPECT_EQ(std::string(5, '\xB6'), afterSubPass[pass29 + 1]);
        EXPECT_EQ(std::string(5, '\xDB'), afterSubPass[pass29 + 2]);
    });
}

struct EmptyFileCase {
    ShredMethod method;
    std::size_t rewinds;
};

TEST(ShredMethods, EmptyFileIsOnlyRewoundNeverWritten) {
    TempFolder folder;
    const std::array<EmptyFileCase, 5> cases{{{OverwriteZeros, 0},
                                              {OverwriteRandom, 0},
                                              {OverwriteDod3, 3},
                                              {OverwriteDod7, 7},
                                              {OverwriteGutmann, 105}}};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        OnFreshThread([&] {
            OpenTestFile file(folder / (L"empty" + std::to_wstring(i)), "");
            FileSystemTrace trace;
            EXPECT_TRUE(cases[i].method(file.Handle())) << "method " << i;
            EXPECT_EQ(cases[i].rewinds, trace.Count(K::Seek)) << "method " << i;
            EXPECT_EQ(trace.Count(K::Seek) + 1, trace.Ops().size())
                << "method " << i << ": nothing but the size query and the rewinds";
            EXPECT_EQ(0, file.Position());
            EXPECT_EQ("", file.Contents());
            EXPECT_EQ(41, NextRandom());
        });
    }
}

std::vector<std::size_t> WriteSizes(const FileSystemTrace& trace) {
    std::vector<std::size_t> sizes;
    for (const FileOp& op : trace.OpsOf(K::Write)) {
        sizes.push_back(op.size);
    }
    return sizes;
}

// The most chunk memory alive at any moment of the trace, and what is still alive at its end.
struct ChunkMemory {
    std::size_t peak = 0;
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
        EXPECT_EQ(std::vector<std::size_t>(3, MiB64), WriteSizes(trace));
        EXPECT_EQ(3u, trace.Count(K::Flush));
        EXPECT_EQ(MiB64, ChunkMemoryOf(trace).peak) << "one chunk of memory for all three passes";
        EXPECT_EQ(0u, ChunkMemoryOf(trace).left);
    }
    OpenTestFile over(folder / L"over.bin", static_cast<std::int64_t>(MiB64 + 1));
    OnFreshThread([&] {
        FileSystemTrace trace;
        EXPECT_TRUE(OverwriteRandom(over.Handle()));
        EXPECT_EQ((std::vector<std::size_t>{MiB64, 1}), WriteSizes(trace));
        const std::vector<K> expected{K::SizeQuery, K::Write, K::Write, K::Flush};
        EXPECT_EQ(expected, trace.KindsWithout({K::ReadTag, K::Allocate, K::Free}))
            << "one flush, after the pass's last chunk";
        EXPECT_EQ(MiB64, ChunkMemoryOf(trace).peak);
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
    EXPECT_EQ((std::vector<std::size_t>{MiB64, 1}), WriteSizes(trace));
    EXPECT_EQ(std::string(MiB64 + 1, '\0'), over.Contents()) << "a fixed byte in every chunk";
}

TEST(WritePasses, NoMoreChunkMemoryThanTheFileNeedsAndAllGivenBack) {
    TempFolder folder;
    OpenTestFile file(folder / L"small.bin", "0123456789");
    FileSystemTrace trace;
    EXPECT_TRUE(OverwriteDod7(file.Handle()));
    EXPECT_EQ(10u, ChunkMemoryOf(trace).peak);
    EXPECT_EQ(0u, ChunkMemoryOf(trace).left);
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

// What the file holds right after each flush.
struct ContentsAtEachFlush {
    static inline std::vector<std::string> seen;
    static inline std::wstring watched;
    static inline FileSystemApi below;

    explicit ContentsAtEachFlush(const std::wstring& path) {
        seen.clear();
        watched = path;
        below = FileSystem;
        FileSystem.FlushFileBuffers = [](HANDLE handle) -> BOOL {
            const BOOL ok = below.FlushFileBuffers(handle);
            seen.push_back(ReadTestFile(watched));
            return ok;
        };
    }
    ContentsAtEachFlush(const ContentsAtEachFlush&) = delete;
    ContentsAtEachFlush& operator=(const ContentsAtEachFlush&) = delete;

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
        ContentsAtEachFlush flushes(path);
        EXPECT_TRUE(OverwriteDod3(file.Handle()));
        EXPECT_EQ((std::vector<std::int64_t>{0, 400}), StandInSparseFile::askedFrom)
            << "listed once, asked again after the first range for the rest";
        const auto draws = ReferenceDraws(5301);
        const std::array<std::array<std::string, 2>, 3> expected{{
            {std::string(300, '\0'), std::string(5000, '\0')},
            {std::string(300, '\xFF'), std::string(5000, '\xFF')},
            {LowBytes(draws, 0, 300), LowBytes(draws, 300, 5000)},
        }};
        ASSERT_EQ(3u, ContentsAtEachFlush::seen.size());
        for (std::size_t pass = 0; pass < expected.size(); ++pass) {
            std::string want(Size, 'x');
            want.replace(100, 300, expected[pass][0]);
            want.replace(12000, 5000, expected[pass][1]);
            EXPECT_TRUE(want == ContentsAtEachFlush::seen[pass])
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
        EXPECT_EQ(2u, trace.Count(K::Seek));
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
        EXPECT_EQ(std::vector<K>{K::SizeQuery}, trace.KindsWithout({}));
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
