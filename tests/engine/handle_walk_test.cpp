// What the handle-based engine guarantees beyond names and bytes: no path is acted on after an
// item was opened, named streams, reparse points inside a folder, attributes of items that stay,
// and trees of any depth.
#include "engine/file_shredder.h"
#include "engine/folder_shredder.h"
#include "engine/random.h"
#include "support/file_system_trace.h"
#include "support/fresh_thread.h"
#include "support/linux_side.h"
#include "support/progress_recorder.h"
#include "support/reference_random.h"
#include "support/stand_in_streams.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using K = FileOp::Kind;

std::wstring Extended(const std::wstring& path) {
    return L"\\\\?\\" + path;
}

std::string LowBytes(const std::vector<int>& draws, std::size_t first, std::size_t count) {
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i) {
        bytes += static_cast<char>(draws[first + i] & 0xFF);
    }
    return bytes;
}

// The one call that takes a path opens the folder holding the chosen item, before anything else.
void ExpectOnlyTheParentFolderByPath(const FileSystemTrace& trace, const std::wstring& parent) {
    ASSERT_FALSE(trace.Ops().empty());
    EXPECT_TRUE(trace.Ops()[0].byPath);
    EXPECT_EQ(Extended(parent), trace.Ops()[0].path);
    for (std::size_t i = 1; i < trace.Ops().size(); ++i) {
        EXPECT_FALSE(trace.Ops()[i].byPath) << "a path-taking call at op " << i;
    }
}

TEST(HandleGuarantee, FileIsActedOnOnlyThroughHandlesOnceOpened) {
    TempFolder folder;
    const std::wstring original = folder / L"secret.txt";
    WriteTestFile(original, "secret contents");
    SetFileAttributesW(original.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    OnFreshThread([&] {
        std::wstring path = original;
        FileSystemTrace trace;
        EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteDod3, NoProgress()));
        ExpectOnlyTheParentFolderByPath(trace, folder.Path());
        const FileOp opened = trace.OpsOf(K::Open).at(1);
        EXPECT_EQ(Extended(original), opened.path);
        // Renames and the delete act on that first handle; the data on one opened relative to it.
        for (const FileOp& op : trace.Ops()) {
            if (op.kind == K::Move || op.kind == K::Delete || op.kind == K::SetAttributes) {
                EXPECT_EQ(opened.handle, op.handle);
            }
        }
        const FileOp dataOpen = trace.OpsOf(K::Open).at(2);
        EXPECT_EQ(Extended(original), dataOpen.path) << "the data is opened relative to the file";
        for (const FileOp& op : trace.OpsOf(K::Write)) {
            EXPECT_EQ(dataOpen.handle, op.handle);
        }
    });
    EXPECT_FALSE(PathExists(original));
}

TEST(HandleGuarantee, FolderTreeIsCountedAndShreddedThroughHandlesOnceOpened) {
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    MakeTestFolder(chosen + L"\\sub");
    MakeTestFolder(chosen + L"\\sub\\deeper");
    WriteTestFile(chosen + L"\\a.txt", "a");
    WriteTestFile(chosen + L"\\sub\\b.txt", "b");
    WriteTestFile(chosen + L"\\sub\\deeper\\c.txt", "c");
    OnFreshThread([&] {
        {
            FileSystemTrace trace;
            EXPECT_EQ(6, CountShredItems(chosen));
            ExpectOnlyTheParentFolderByPath(trace, root.Path());
        }
        std::wstring path = chosen;
        FileSystemTrace trace;
        EXPECT_EQ(ShredFolderRemoved, ShredFolder(path, OverwriteZeros, NoProgress()));
        ExpectOnlyTheParentFolderByPath(trace, root.Path());
        EXPECT_EQ(3u, trace.Count(K::Delete));
        EXPECT_EQ(3u, trace.Count(K::RemoveFolder));
        EXPECT_EQ(60u, trace.Count(K::Move));
        EXPECT_EQ(3u, trace.Count(K::ListFirst));
    });
    EXPECT_FALSE(PathExists(chosen));
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
        StandInStreams::streams = {{L":Zone.Identifier:$DATA", folder / L"zone.side"},
                                   {L":two:$DATA", folder / L"two.side"}};
        StandInStreams::refuseWith = 0;
        StandInStreams fake;
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
        for (HANDLE side : StandInStreams::opened) {
            CloseHandle(side);
        }
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
            StandInStreams::streams.clear();
            StandInStreams::refuseWith = refuse ? ERROR_INVALID_FUNCTION : 0;
            StandInStreams fake;
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

// A listing that shows chosen entries as reparse points with the given tags, and answers their
// tag for a handle opened on them, as Windows would for a junction or a cloud placeholder.
struct StandInReparsePoints {
    static inline std::vector<std::pair<std::wstring, DWORD>> points; // name, tag
    static inline FileSystemApi below;

    static const std::pair<std::wstring, DWORD>* Find(const std::wstring& name) {
        for (const auto& point : points) {
            if (point.first == name) {
                return &point;
            }
        }
        return nullptr;
    }

    static BOOL WINAPI Query(HANDLE handle, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info,
                             DWORD size) {
        if (kind == FileAttributeTagInfo) {
            const std::wstring path = FileSystemTrace::PathOf(handle);
            if (const auto* point = Find(path.substr(path.rfind(L'\\') + 1))) {
                below.GetFileInformationByHandleEx(handle, kind, info, size);
                auto* tag = static_cast<FILE_ATTRIBUTE_TAG_INFO*>(info);
                tag->FileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
                tag->ReparseTag = point->second;
                return TRUE;
            }
        }
        if (!below.GetFileInformationByHandleEx(handle, kind, info, size)) {
            return FALSE;
        }
        if (kind == FileIdBothDirectoryRestartInfo || kind == FileIdBothDirectoryInfo) {
            auto* bytes = static_cast<unsigned char*>(info);
            for (std::size_t offset = 0;;) {
                auto* entry = reinterpret_cast<FILE_ID_BOTH_DIR_INFO*>(bytes + offset);
                const std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
                if (const auto* point = Find(name)) {
                    entry->FileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
                    entry->EaSize = point->second;
                }
                if (entry->NextEntryOffset == 0) {
                    break;
                }
                offset += entry->NextEntryOffset;
            }
        }
        return TRUE;
    }

    StandInReparsePoints() {
        below = FileSystem;
        FileSystem.GetFileInformationByHandleEx = Query;
    }
};

constexpr DWORD CloudPlaceholderTag = 0x9000601A;

TEST(ReparsePointsInAFolder, LinksAreDeletedAsThemselvesAndOtherKindsStayWhole) {
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    MakeTestFolder(chosen + L"\\junction");
    WriteTestFile(chosen + L"\\placeholder", "kept in the cloud");
    const std::vector<std::wstring> listed = ListedNames(chosen);
    OnFreshThread([&] {
        ProgressRecorder recorder;
        std::wstring path = chosen;
        FileSystemTrace trace;
        StandInReparsePoints::points = {{L"junction", IO_REPARSE_TAG_MOUNT_POINT},
                                        {L"placeholder", CloudPlaceholderTag}};
        StandInReparsePoints fake;
        EXPECT_EQ(3, CountShredItems(chosen));
        EXPECT_EQ(ShredFolderIncomplete, ShredFolder(path, OverwriteZeros, recorder));

        std::vector<ProgressEvent> expected;
        for (const std::wstring& name : listed) {
            expected.push_back(ShownName(name));
            expected.push_back(Stepped());
        }
        expected.push_back(ShownName(L"chosen"));
        expected.push_back(Stepped());
        EXPECT_EQ(expected, recorder.Events());

        const std::wstring junction = Extended(chosen + L"\\junction");
        const std::wstring placeholder = Extended(chosen + L"\\placeholder");
        for (const FileOp& op : trace.Ops()) {
            EXPECT_NE(placeholder, op.path) << "another kind of reparse point is never opened";
            if (op.path == junction) {
                EXPECT_TRUE(op.kind == K::Open || op.kind == K::ReadTag ||
                            op.kind == K::RemoveFolder || op.kind == K::Close)
                    << static_cast<int>(op.kind);
            }
        }
        EXPECT_EQ(1u, std::count_if(trace.Ops().begin(), trace.Ops().end(), [&](const FileOp& op) {
                      return op.kind == K::RemoveFolder && op.path == junction;
                  }));
        EXPECT_EQ(0u, trace.Count(K::Write));
        // The link took no draws: the folder's ten names are the first ones.
        const auto draws = ReferenceDraws(130);
        EXPECT_EQ(root / ReferenceName(draws, 117, false), path);
    });
    const std::wstring stays = root / ReferenceName(ReferenceDraws(130), 117, false);
    EXPECT_EQ((std::vector<std::wstring>{L"placeholder"}), ListedNames(stays));
    EXPECT_EQ("kept in the cloud", ReadTestFile(stays + L"\\placeholder"));

    MakeTestFolder(chosen);
    MakeTestFolder(chosen + L"\\link");
    OnFreshThread([&] {
        std::wstring path = chosen;
        FileSystemTrace trace;
        StandInReparsePoints::points = {{L"link", IO_REPARSE_TAG_SYMLINK}};
        StandInReparsePoints fake;
        EXPECT_EQ(ShredFolderRemoved, ShredFolder(path, OverwriteZeros, NoProgress()));
    });
    EXPECT_FALSE(PathExists(chosen));
}

TEST(ItemsThatStay, FileHeldOpenElsewhereKeepsItsAttributes) {
    TempFolder folder;
    const std::wstring original = folder / L"busy.txt";
    constexpr DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    // Share 0 keeps the first open out; sharing deletion but not writing lets it in and keeps
    // the data open out, after the attributes were reset.
    for (DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_DELETE}}) {
        WriteTestFile(original, "in use");
        ASSERT_TRUE(SetFileAttributesW(original.c_str(), kept));
        HANDLE holder =
            CreateFileW(original.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, holder);
        std::wstring path = original;
        FileSystemTrace trace;
        EXPECT_EQ(ShredFileOpenFailed, ShredFile(path, OverwriteDod3, NoProgress())) << share;
        CloseHandle(holder);
        EXPECT_EQ(original, path);
        EXPECT_EQ(kept, GetFileAttributesW(original.c_str()) & kept) << share;
        EXPECT_EQ("in use", ReadTestFile(original));
        EXPECT_EQ(0u, trace.Count(K::Write) + trace.Count(K::Move) + trace.Count(K::Delete));
        SetFileAttributesW(original.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// A folder that another user swaps for a link to somewhere else after its parent was listed and
// before the walk opens it: the walk must not go through that link. Under Wine a Linux link opens
// as its target, so this tells the swap only by what the handle turns out to be.
struct SwapBeforeOpen {
    static inline std::wstring folder; // the folder whose entry is swapped
    static inline std::wstring name;
    static inline std::wstring movedTo;
    static inline std::wstring target;
    static inline FileSystemApi below;

    static HANDLE Open(HANDLE root, LPCWSTR entry, DWORD access, DWORD share, DWORD options) {
        if (!folder.empty() && name == entry) {
            const std::wstring swapped = folder + L"\\" + name;
            EXPECT_TRUE(MoveFileW(swapped.c_str(), movedTo.c_str()));
            EXPECT_TRUE(MakeLinuxSymlink(target, folder, name));
            folder.clear();
        }
        return below.OpenRelative(root, entry, access, share, options);
    }

    SwapBeforeOpen(const std::wstring& inFolder, const std::wstring& entry,
                   const std::wstring& moveTo, const std::wstring& linkTarget) {
        folder = inFolder;
        name = entry;
        movedTo = moveTo;
        target = linkTarget;
        below = FileSystem;
        FileSystem.OpenRelative = Open;
    }
    ~SwapBeforeOpen() { FileSystem = below; }
};

TEST(SwappedForALink, FolderSwappedAfterListingIsNeitherCountedIntoNorWalked) {
    TempFolder guard;
    WriteTestFile(guard / L"guarded.txt", "must survive");
    MakeTestFolder(guard / L"inner");
    WriteTestFile(guard / L"inner\\deeper.txt", "must survive too");
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    MakeTestFolder(chosen + L"\\sub");
    WriteTestFile(chosen + L"\\sub\\own.txt", "own");
    OnFreshThread([&] {
        {
            SwapBeforeOpen swap(chosen, L"sub", root / L"counted", guard.Path());
            EXPECT_EQ(2, CountShredItems(chosen)) << "the link is one item";
        }
        ASSERT_TRUE(RemoveLinuxSymlink(chosen, L"sub"));
        ASSERT_TRUE(MoveFileW((root / L"counted").c_str(), (chosen + L"\\sub").c_str()));

        std::wstring path = chosen;
        {
            SwapBeforeOpen swap(chosen, L"sub", root / L"moved", guard.Path());
            EXPECT_EQ(ShredFolderIncomplete, ShredFolder(path, OverwriteZeros, NoProgress()));
        }
        EXPECT_EQ(std::vector<std::wstring>{L"sub"}, ListedNames(path));
        EXPECT_TRUE(RemoveLinuxSymlink(path, L"sub")) << "the link stays a link";
    });
    EXPECT_EQ((std::vector<std::wstring>{L"guarded.txt", L"inner"}), ListedNames(guard.Path()));
    EXPECT_EQ("must survive", ReadTestFile(guard / L"guarded.txt"));
    EXPECT_EQ("must survive too", ReadTestFile(guard / L"inner\\deeper.txt"));
    EXPECT_EQ("own", ReadTestFile(root / L"moved\\own.txt")) << "the moved folder was not followed";
}

// Under Wine a link to the same path on another drive reports the same path within its volume:
// only the volume tells it from the item itself.
TEST(SwappedForALink, LinkToTheSamePathOnAnotherDriveIsLeftAlone) {
    const std::wstring relative =
        L"\\tmp\\ferrolet-drives-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring other = L"C:" + relative;
    const std::wstring here = L"Z:" + relative;
    CreateDirectoryW(L"C:\\tmp", nullptr);
    MakeTestFolder(other);
    MakeTestFolder(other + L"\\chosen");
    WriteTestFile(other + L"\\chosen\\secret.txt", "on the other drive");
    MakeTestFolder(here);
    MakeTestFolder(here + L"\\chosen");
    ASSERT_TRUE(
        MakeLinuxSymlink(other + L"\\chosen\\secret.txt", here + L"\\chosen", L"secret.txt"));
    OnFreshThread([&] {
        std::wstring file = here + L"\\chosen\\secret.txt";
        EXPECT_EQ(ShredFileOpenFailed, ShredFile(file, OverwriteZeros, NoProgress()));
        std::wstring folder = here + L"\\chosen";
        EXPECT_EQ(ShredFolderIncomplete, ShredFolder(folder, OverwriteZeros, NoProgress()));
        EXPECT_TRUE(RemoveLinuxSymlink(folder, L"secret.txt")) << "the link stays a link";
        RemoveDirectoryW(folder.c_str());
    });
    EXPECT_EQ("on the other drive", ReadTestFile(other + L"\\chosen\\secret.txt"));
    DeleteFileW((other + L"\\chosen\\secret.txt").c_str());
    RemoveDirectoryW((other + L"\\chosen").c_str());
    RemoveDirectoryW(other.c_str());
    RemoveDirectoryW(here.c_str());
}

// Wine's server resolves every prefix of a handle's Linux path whenever it opens or renames an
// item, so each level costs more the deeper it lies: 2,000 levels take minutes to count and far
// longer to shred there, so the suite walks 300 and FERROLET_DEEP_LEVELS asks for more. 64 KiB of
// stack left shows what depth would otherwise: a recursive walk needs several times that much at
// 300 levels, this walk the same at any depth.
int DeepLevels() {
    wchar_t levels[16]{};
    const DWORD length = GetEnvironmentVariableW(L"FERROLET_DEEP_LEVELS", levels, 16);
    return length > 0 && length < 16 ? std::max(1, _wtoi(levels)) : 300;
}
constexpr std::size_t StackLeft = 64 * 1024;

struct DeepWalk {
    std::wstring path;
    int count = 0;
    int result = 1;
};

void CountDeepTree(DeepWalk& walk) {
    walk.count = CountShredItems(walk.path);
}

void ShredDeepTree(DeepWalk& walk) {
    walk.result = ShredFolder(walk.path, OverwriteZeros, NoProgress());
}

struct LittleStackRun {
    void (*body)(DeepWalk&);
    DeepWalk* walk;
};

[[gnu::noinline]] void RunBody(const LittleStackRun& run) {
    run.body(*run.walk);
}

// Takes all but StackLeft of the thread's stack, then walks.
DWORD WINAPI WithLittleStack(void* parameter) {
    const auto* run = static_cast<const LittleStackRun*>(parameter);
    char here = 0;
    MEMORY_BASIC_INFORMATION stack{};
    VirtualQuery(&here, &stack, sizeof(stack));
    const auto bottom = reinterpret_cast<std::uintptr_t>(stack.AllocationBase);
    const std::size_t taken = reinterpret_cast<std::uintptr_t>(&here) - bottom - StackLeft;
    volatile char* block = static_cast<char*>(__builtin_alloca(taken));
    block[0] = 1;
    RunBody(*run);
    return block[0] == 1 ? 0 : 1;
}

void RunWithLittleStack(void (*body)(DeepWalk&), DeepWalk& walk) {
    LittleStackRun run{body, &walk};
    HANDLE worker = CreateThread(nullptr, 0, WithLittleStack, &run, 0, nullptr);
    ASSERT_NE(nullptr, worker);
    WaitForSingleObject(worker, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeThread(worker, &exitCode);
    CloseHandle(worker);
    EXPECT_EQ(0u, exitCode) << "the walk's thread ended abnormally";
}

TEST(DeepTree, IsCountedAndShreddedWholeWithLittleStackLeft) {
    const std::string unixRoot = "/tmp/ferrolet-deep-" + std::to_string(GetCurrentProcessId());
    const int levels = DeepLevels();
    std::string chain;
    for (int level = 0; level < levels; ++level) {
        chain += "a/";
    }
    ASSERT_TRUE(RunLinuxShell("rm -rf " + unixRoot + " && mkdir -p " + unixRoot + "/" + chain +
                              " && echo deep > " + unixRoot + "/" + chain + "f"));
    const std::wstring chosen = L"Z:\\tmp\\ferrolet-deep-" + std::to_wstring(GetCurrentProcessId());

    EXPECT_EQ(levels + 2, CountShredItems(chosen)) << "on the main thread";
    DeepWalk walk{chosen};
    RunWithLittleStack(CountDeepTree, walk);
    EXPECT_EQ(levels + 2, walk.count);
    RunWithLittleStack(ShredDeepTree, walk);
    EXPECT_EQ(ShredFolderRemoved, walk.result);
    EXPECT_FALSE(PathExists(chosen));
    EXPECT_FALSE(PathExists(walk.path));
    RunLinuxShell("rm -rf " + unixRoot);
}

} // namespace
