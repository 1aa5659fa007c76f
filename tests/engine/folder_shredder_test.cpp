#include "engine/folder_shredder.h"
#include "support/file_system_trace.h"
#include "support/fresh_thread.h"
#include "support/linux_side.h"
#include "support/progress_recorder.h"
#include "support/reference_random.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

using K = FileOp::Kind;

std::set<std::wstring> NameSet(const std::vector<std::wstring>& names) {
    return std::set<std::wstring>(names.begin(), names.end());
}

// Each listed file or empty folder shows its name and steps once, in listing order, then the
// folder itself does.
std::vector<ProgressEvent> FlatFolderEvents(const std::vector<std::wstring>& listed,
                                            const std::wstring& folderName) {
    std::vector<ProgressEvent> events;
    for (const std::wstring& name : listed) {
        events.push_back(ShownName(name));
        events.push_back(Stepped());
    }
    events.push_back(ShownName(folderName));
    events.push_back(Stepped());
    return events;
}

TEST(ShredFolder, TwoFilesAndAnEmptySubfolderTakeFourStepsInListingOrder) {
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    WriteTestFile(chosen + L"\\a.txt", "first secret");
    WriteTestFile(chosen + L"\\b.txt", "second secret");
    MakeTestFolder(chosen + L"\\sub");
    const std::vector<std::wstring> listed = ListedNames(chosen);
    ASSERT_EQ(3u, listed.size());
    OnFreshThread([&] {
        ProgressRecorder recorder;
        EXPECT_EQ(4, CountShredItems(chosen));
        std::wstring path = chosen;
        FileSystemTrace trace;
        EXPECT_EQ(ShredFolderRemoved, ShredFolder(path, OverwriteZeros, recorder));

        EXPECT_EQ(FlatFolderEvents(listed, L"chosen"), recorder.Events());

        // The subfolder is gone before its parent's first rename.
        const auto& ops = trace.Ops();
        const auto subRemoved = std::find_if(ops.begin(), ops.end(), [](const FileOp& op) {
            return op.kind == K::RemoveFolder && op.path.find(L"\\chosen\\") != std::wstring::npos;
        });
        const auto parentRenamed = std::find_if(ops.begin(), ops.end(), [&](const FileOp& op) {
            return op.kind == K::Move && op.path == Extended(chosen);
        });
        ASSERT_NE(ops.end(), subRemoved);
        ASSERT_NE(ops.end(), parentRenamed);
        EXPECT_LT(subRemoved - ops.begin(), parentRenamed - ops.begin());

        // Two files and a subfolder drew 3 x 130 letters before the folder's own 130.
        const auto draws = ReferenceDraws(4 * DrawsPerItem);
        const auto moves = trace.OpsOf(K::Move);
        ASSERT_EQ(40u, moves.size());
        for (std::size_t i = 0; i < 10; ++i) {
            const FileOp& move = moves[30 + i];
            EXPECT_EQ(Extended(root / ReferenceName(draws, NameDraw(3, i), false)), move.newPath);
        }
        EXPECT_EQ(root / ReferenceName(draws, NameDraw(3, RenamesPerItem - 1), false), path);
        for (const FileOp& op : trace.Ops()) {
            if (!op.path.empty()) {
                EXPECT_EQ(0u, op.path.rfind(L"\\\\?\\", 0)) << "every call takes the \\\\?\\ form";
            }
        }
    });
    EXPECT_FALSE(PathExists(chosen));
    EXPECT_TRUE(ListedNames(root.Path()).empty());
}

TEST(ShredFolder, EmptyFolderShowsItsNameStepsOnceAndGetsTenFolderNames) {
    TempFolder root;
    const std::wstring chosen = root / L"empty";
    MakeTestFolder(chosen);
    OnFreshThread([&] {
        ProgressRecorder recorder;
        EXPECT_EQ(1, CountShredItems(chosen));
        std::wstring path = chosen;
        FileSystemTrace trace;
        EXPECT_EQ(ShredFolderRemoved, ShredFolder(path, OverwriteGutmann, recorder));
        EXPECT_EQ(FlatFolderEvents({}, L"empty"), recorder.Events());
        const auto draws = ReferenceDraws(DrawsPerItem);
        const auto moves = trace.OpsOf(K::Move);
        ASSERT_EQ(10u, moves.size());
        for (std::size_t i = 0; i < moves.size(); ++i) {
            const std::wstring name = moves[i].newPath.substr(moves[i].newPath.rfind(L'\\') + 1);
            EXPECT_EQ(ReferenceName(draws, NameDraw(0, i), false), name);
            EXPECT_EQ(Extended(root.Path()) + L"\\",
                      moves[i].newPath.substr(0, moves[i].newPath.rfind(L'\\') + 1));
        }
        EXPECT_EQ(root / ReferenceName(draws, NameDraw(0, RenamesPerItem - 1), false), path);
    });
    EXPECT_FALSE(PathExists(chosen));
    EXPECT_TRUE(ListedNames(root.Path()).empty());
}

TEST(ShredFolder, DotProfileIsAnOrdinaryFileAndDotsAreNeverEntries) {
    TempFolder root;
    const std::wstring chosen = root / L"home";
    MakeTestFolder(chosen);
    WriteTestFile(chosen + L"\\.profile", "export SECRET=1");
    OnFreshThread([&] {
        ProgressRecorder recorder;
        EXPECT_EQ(2, CountShredItems(chosen));
        std::wstring path = chosen;
        EXPECT_EQ(ShredFolderRemoved, ShredFolder(path, OverwriteRandom, recorder));
        EXPECT_EQ(FlatFolderEvents({L".profile"}, L"home"), recorder.Events());
    });
    EXPECT_TRUE(ListedNames(root.Path()).empty());
}

TEST(ShredFolder, ReadOnlyAndHiddenFoldersAndFilesAreShredded) {
    TempFolder root;
    const std::wstring chosen = root / L"guarded";
    MakeTestFolder(chosen);
    MakeTestFolder(chosen + L"\\inner");
    WriteTestFile(chosen + L"\\inner\\hidden.txt", "hidden");
    WriteTestFile(chosen + L"\\readonly.txt", "read only");
    SetFileAttributesW((chosen + L"\\inner\\hidden.txt").c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW((chosen + L"\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    // Wine ignores the attributes of folders; Windows keeps them.
    const DWORD guarded = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
    SetFileAttributesW((chosen + L"\\inner").c_str(), guarded);
    SetFileAttributesW(chosen.c_str(), guarded);
    OnFreshThread([&] {
        ProgressRecorder recorder;
        EXPECT_EQ(4, CountShredItems(chosen));
        std::wstring path = chosen;
        EXPECT_EQ(ShredFolderRemoved, ShredFolder(path, OverwriteDod3, recorder));
        EXPECT_EQ(4, recorder.Steps());
    });
    EXPECT_TRUE(ListedNames(root.Path()).empty());
}

TEST(ShredFolder, UnlistableSubfolderCountsOneTakesNoStepAndKeepsItsParent) {
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    WriteTestFile(chosen + L"\\a.txt", "goes");
    MakeTestFolder(chosen + L"\\locked");
    WriteTestFile(chosen + L"\\locked\\inner.txt", "stays");
    OnFreshThread([&] {
        ProgressRecorder recorder;
        std::wstring path = chosen;
        FileSystemTrace trace;
        trace.FailWhen([](const FileOp& op) {
            return op.kind == K::ListFirst && op.path.ends_with(L"\\locked\\*");
        });
        EXPECT_EQ(3, CountShredItems(chosen));
        EXPECT_EQ(ShredFolderIncomplete, ShredFolder(path, OverwriteZeros, recorder));
        EXPECT_EQ(FlatFolderEvents({L"a.txt"}, L"chosen"), recorder.Events())
            << "the locked folder shows nothing and takes no step";
        const auto draws = ReferenceDraws(2 * DrawsPerItem);
        EXPECT_EQ(root / ReferenceName(draws, NameDraw(1, RenamesPerItem - 1), false), path)
            << "the parent still went through its ten renames";
    });
    const std::vector<std::wstring> left = ListedNames(root.Path());
    ASSERT_EQ(1u, left.size());
    EXPECT_EQ(std::vector<std::wstring>{L"locked"}, ListedNames(root / left[0]));
    EXPECT_EQ("stays", ReadTestFile(root / left[0] + L"\\locked\\inner.txt"));
}

TEST(ShredFolder, LinuxSymlinksAreOneItemEachAndNeverFollowed) {
    TempFolder outside;
    WriteTestFile(outside / L"target.txt", "outside file");
    MakeTestFolder(outside / L"dir");
    WriteTestFile(outside / L"dir\\keep.txt", "outside folder's file");
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    WriteTestFile(chosen + L"\\own.txt", "own file");
    ASSERT_TRUE(MakeLinuxSymlink(outside / L"target.txt", chosen, L"filelink"));
    ASSERT_TRUE(MakeLinuxSymlink(outside / L"dir", chosen, L"dirlink"));
    ASSERT_TRUE(MakeLinuxSymlink(root.Path(), chosen, L"uplink"));
    ASSERT_EQ(4u, ListedNames(chosen).size()) << "the links are listed";
    OnFreshThread([&] {
        ProgressRecorder recorder;
        const int count = CountShredItems(chosen);
        EXPECT_EQ(5, count);
        std::wstring path = chosen;
        EXPECT_EQ(ShredFolderIncomplete, ShredFolder(path, OverwriteZeros, recorder));
        EXPECT_EQ(count, recorder.Steps());
        const auto names = NameSet(recorder.Names());
        EXPECT_EQ(
            (std::set<std::wstring>{L"own.txt", L"filelink", L"dirlink", L"uplink", L"chosen"}),
            names);
        EXPECT_EQ((std::set<std::wstring>{L"filelink", L"dirlink", L"uplink"}),
                  NameSet(ListedNames(path)))
            << "the links stay; the folder holding them under its last name";
        for (const wchar_t* link : {L"filelink", L"dirlink", L"uplink"}) {
            EXPECT_TRUE(RemoveLinuxSymlink(path, link)) << "it is still a link";
        }
    });
    EXPECT_EQ("outside file", ReadTestFile(outside / L"target.txt"));
    EXPECT_EQ("outside folder's file", ReadTestFile(outside / L"dir\\keep.txt"));
    EXPECT_TRUE(PathExists(root.Path()));
}

TEST(ShredFolder, ChosenFolderThatIsALinkIsLeftAlone) {
    TempFolder outside;
    WriteTestFile(outside / L"keep.txt", "outside");
    TempFolder root;
    ASSERT_TRUE(MakeLinuxSymlink(outside.Path(), root.Path(), L"linked"));
    const std::wstring chosen = root / L"linked";
    OnFreshThread([&] {
        ProgressRecorder recorder;
        EXPECT_EQ(1, CountShredItems(chosen));
        std::wstring path = chosen;
        FileSystemTrace trace;
        EXPECT_EQ(ShredFolderNotListed, ShredFolder(path, OverwriteZeros, recorder));
        EXPECT_EQ(FlatFolderEvents({}, L"linked"), recorder.Events());
        EXPECT_EQ(chosen, path);
        EXPECT_EQ(0u, trace.Count(K::SetAttributes));
        EXPECT_EQ(0u, trace.Count(K::Move));
        EXPECT_EQ(0u, trace.Count(K::RemoveFolder));
    });
    EXPECT_EQ("outside", ReadTestFile(outside / L"keep.txt"));
    EXPECT_TRUE(RemoveLinuxSymlink(root.Path(), L"linked")) << "it is still a link";
}

TEST(ShredFolder, CancelFinishesTheEntryAtHandAndLeavesTheFoldersInPlace) {
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    MakeTestFolder(chosen + L"\\sub");
    for (const wchar_t* name : {L"\\sub\\x.txt", L"\\sub\\y.txt", L"\\sub\\z.txt"}) {
        WriteTestFile(chosen + name, "kept");
    }
    const std::vector<std::wstring> listed = ListedNames(chosen + L"\\sub");
    OnFreshThread([&] {
        ProgressRecorder recorder;
        recorder.OnStep([&] { recorder.RequestStop(); });
        std::wstring path = chosen;
        FileSystemTrace trace;
        EXPECT_EQ(ShredFolderCancelled, ShredFolder(path, OverwriteZeros, recorder));
        EXPECT_EQ(chosen, path);
        EXPECT_EQ((std::vector<ProgressEvent>{ShownName(listed[0]), Stepped()}), recorder.Events());
        EXPECT_EQ(0u, trace.Count(K::RemoveFolder));
        for (const FileOp& move : trace.OpsOf(K::Move)) {
            EXPECT_NE(std::wstring::npos, move.path.find(L"\\sub\\"))
                << "only the file was renamed";
        }
    });
    EXPECT_EQ(NameSet({listed[1], listed[2]}), NameSet(ListedNames(chosen + L"\\sub")));
    EXPECT_EQ("kept", ReadTestFile(chosen + L"\\sub\\" + listed[1]));
    EXPECT_EQ("kept", ReadTestFile(chosen + L"\\sub\\" + listed[2]));
}

TEST(ShredFolder, CancelSetBeforeTheStartTouchesNothing) {
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    WriteTestFile(chosen + L"\\a.txt", "kept");
    ProgressRecorder recorder;
    recorder.RequestStop();
    std::wstring path = chosen;
    FileSystemTrace trace;
    EXPECT_EQ(ShredFolderCancelled, ShredFolder(path, OverwriteZeros, recorder));
    EXPECT_TRUE(recorder.Events().empty());
    EXPECT_EQ(0u, trace.Count(K::Write) + trace.Count(K::Move) + trace.Count(K::Delete));
    EXPECT_EQ("kept", ReadTestFile(chosen + L"\\a.txt"));
}

TEST(ShredFolder, TreeDeeperThan260Characters) {
    TempFolder root;
    const std::wstring chosen = root / std::wstring(100, L'c');
    std::wstring deep = chosen;
    ASSERT_TRUE(CreateDirectoryW(Extended(deep).c_str(), nullptr));
    for (wchar_t letter : {L'd', L'e'}) {
        deep += L"\\" + std::wstring(100, letter);
        ASSERT_TRUE(CreateDirectoryW(Extended(deep).c_str(), nullptr));
    }
    WriteTestFile(Extended(deep + L"\\" + std::wstring(100, L'f')), "deep");
    ASSERT_GT(deep.size() + 101, 400u);
    ProgressRecorder recorder;
    EXPECT_EQ(4, CountShredItems(chosen));
    std::wstring path = chosen;
    EXPECT_EQ(ShredFolderRemoved, ShredFolder(path, OverwriteZeros, recorder));
    EXPECT_EQ(4, recorder.Steps());
    EXPECT_EQ(std::wstring(100, L'f'), recorder.Names().at(0));
    EXPECT_TRUE(ListedNames(root.Path()).empty());
}

TEST(ShredFolder, NamesEndingInDotOrSpaceAndBeyondTheBmp) {
    TempFolder root;
    MakeTestFolder(root / L"plain");
    WriteTestFile(root / L"plain\\keep.txt", "lookalike's file");
    ASSERT_TRUE(MakeLinuxFolder(root.Path(), L"plain."));
    const std::wstring chosen = root / L"plain.";
    for (const std::wstring& name :
         {std::wstring(L"trail."), std::wstring(L"trail "), std::wstring(L"\U0001F600 notes")}) {
        ASSERT_TRUE(MakeLinuxFile(chosen, name, "odd"));
    }
    ProgressRecorder recorder;
    EXPECT_EQ(4, CountShredItems(chosen));
    std::wstring path = chosen;
    EXPECT_EQ(ShredFolderRemoved, ShredFolder(path, OverwriteRandom, recorder));
    EXPECT_EQ(4, recorder.Steps());
    EXPECT_EQ(std::vector<std::wstring>{L"plain"}, ListedNames(root.Path()));
    EXPECT_EQ("lookalike's file", ReadTestFile(root / L"plain\\keep.txt"));
}

TEST(ShredFolder, ExistingFolderWithTheFirstRandomNameIsNeverTouched) {
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    const auto draws = ReferenceDraws(130);
    const std::wstring bystander = root / ReferenceName(draws, 0, false);
    MakeTestFolder(bystander);
    WriteTestFile(bystander + L"\\left.txt", "from an earlier job");
    OnFreshThread([&] {
        ProgressRecorder recorder;
        std::wstring path = chosen;
        EXPECT_EQ(ShredFolderRemoved, ShredFolder(path, OverwriteZeros, recorder));
        EXPECT_EQ(root / ReferenceName(draws, NameDraw(0, RenamesPerItem - 1), false), path);
    });
    EXPECT_EQ(std::vector<std::wstring>{bystander.substr(bystander.rfind(L'\\') + 1)},
              ListedNames(root.Path()));
    EXPECT_EQ("from an earlier job", ReadTestFile(bystander + L"\\left.txt"));
}

TEST(ShredFolder, FileInUseStaysAndTheStepsStillMatchTheCount) {
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    WriteTestFile(chosen + L"\\busy.txt", "in use");
    WriteTestFile(chosen + L"\\free.txt", "free");
    KernelHandle holder = HoldWithoutSharing(chosen + L"\\busy.txt");
    ProgressRecorder recorder;
    const int count = CountShredItems(chosen);
    std::wstring path = chosen;
    EXPECT_EQ(ShredFolderIncomplete, ShredFolder(path, OverwriteDod7, recorder));
    holder.Reset();
    EXPECT_EQ(3, count);
    EXPECT_EQ(count, recorder.Steps());
    EXPECT_EQ(std::vector<std::wstring>{L"busy.txt"}, ListedNames(path));
}

// A relative path that would resolve to a real folder from the current one, and a file given as
// a folder, are refused before anything is asked of the file system.
TEST(ShredFolder, RefusedPathOrAFileTouchesNothing) {
    TempFolder root;
    MakeTestFolder(root / L"sub");
    WriteTestFile(root / L"sub\\kept.txt", "kept");
    WriteTestFile(root / L"file.txt", "a file, not a folder");
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW((root / L"sub").c_str()));
    ProgressRecorder recorder;
    std::wstring relative = L"..\\sub";
    {
        FileSystemTrace trace;
        EXPECT_EQ(1, CountShredItems(relative));
        EXPECT_EQ(ShredFolderNotListed, ShredFolder(relative, OverwriteZeros, recorder));
        EXPECT_TRUE(trace.Ops().empty()) << "nothing at all was touched";
    }
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(L"..\\sub", relative);
    std::wstring file = root / L"file.txt";
    {
        FileSystemTrace trace;
        EXPECT_EQ(1, CountShredItems(file));
        EXPECT_EQ(ShredFolderNotListed, ShredFolder(file, OverwriteZeros, recorder));
        EXPECT_EQ(0u, trace.Count(K::SetAttributes) + trace.Count(K::Write) + trace.Count(K::Move) +
                          trace.Count(K::Delete));
    }
    EXPECT_EQ(root / L"file.txt", file);
    EXPECT_TRUE(recorder.Events().empty());
    EXPECT_EQ("kept", ReadTestFile(root / L"sub\\kept.txt"));
    EXPECT_EQ("a file, not a folder", ReadTestFile(root / L"file.txt"));
}

// A file whose delete is refused stays, emptied under its last name, and so does its folder,
// which is reported as not removed.
TEST(ShredFolder, RefusedDeleteOfAnEntryKeepsItsFolder) {
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    WriteTestFile(chosen + L"\\a.txt", "first secret");
    WriteTestFile(chosen + L"\\b.txt", "second secret");
    const std::vector<std::wstring> listed = ListedNames(chosen);
    std::wstring path = chosen;
    OnFreshThread([&] {
        ProgressRecorder recorder;
        EXPECT_EQ(3, CountShredItems(chosen));
        FileSystemTrace trace;
        trace.FailWhen(
            [&](const FileOp& op) { return op.kind == K::Delete && trace.Count(K::Delete) == 0; });
        EXPECT_EQ(ShredFolderIncomplete, ShredFolder(path, OverwriteZeros, recorder));
        EXPECT_EQ(FlatFolderEvents(listed, L"chosen"), recorder.Events())
            << "the renamed file that stayed is not shredded again";
    });
    // Both files drew their 130 letters before the folder's own; the first file stayed.
    const auto draws = ReferenceDraws(390);
    EXPECT_EQ(root / ReferenceName(draws, 260 + 117, false), path);
    const std::wstring leftover = ReferenceName(draws, 117, true);
    EXPECT_EQ(std::vector<std::wstring>{leftover}, ListedNames(path));
    EXPECT_EQ("", ReadTestFile(path + L"\\" + leftover));
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
    });
    EXPECT_FALSE(PathExists(chosen));
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
    const KernelHandle worker(CreateThread(nullptr, 0, WithLittleStack, &run, 0, nullptr));
    ASSERT_TRUE(worker);
    WaitForSingleObject(worker.Get(), INFINITE);
    DWORD exitCode = 1;
    GetExitCodeThread(worker.Get(), &exitCode);
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
