#include "engine/file_shredder.h"
#include "engine/random.h"
#include "support/file_system_trace.h"
#include "support/fresh_thread.h"
#include "support/linux_side.h"
#include "support/progress_recorder.h"
#include "support/reference_random.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using K = FileOp::Kind;

// The names given by the renames, in order.
std::vector<std::wstring> RenamedTo(const FileSystemTrace& trace) {
    std::vector<std::wstring> names;
    for (const FileOp& op : trace.OpsOf(K::Move)) {
        names.push_back(op.newPath.substr(op.newPath.rfind(L'\\') + 1));
    }
    return names;
}

constexpr DWORD Kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;

// Remembers which handle every open relative to another handle was made under.
struct OpenRoots {
    static inline std::map<HANDLE, HANDLE> rootOf; // handle made, the handle it was opened under
    static inline FileSystemApi below;

    static HANDLE Open(HANDLE root, LPCWSTR name, DWORD access, DWORD share, DWORD options) {
        const HANDLE made = below.OpenRelative(root, name, access, share, options);
        if (made != INVALID_HANDLE_VALUE && made != nullptr) {
            rootOf[made] = root;
        }
        return made;
    }

    OpenRoots() {
        below = FileSystem;
        rootOf.clear();
        FileSystem.OpenRelative = Open;
    }
};

TEST(ShredFile, FreshThreadRenamesToTheKnownTenNamesAndDeletes) {
    TempFolder folder;
    const std::wstring original = folder / L"victim.txt";
    WriteTestFile(original, "secret contents");
    OnFreshThread([&] {
        std::wstring path = original;
        FileSystemTrace trace;
        EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteZeros, NoProgress()));

        const auto draws = ReferenceDraws(130);
        std::vector<std::wstring> expected;
        for (std::size_t i = 0; i < 10; ++i) {
            expected.push_back(ReferenceName(draws, NameDraw(0, i), true));
        }
        ASSERT_EQ(L"qrjatydimo.ug", expected[0]);
        ASSERT_EQ(L"clqurclqec.rh", expected[1]);
        ASSERT_EQ(L"xwmlpllfrf.gc", expected[9]);
        EXPECT_EQ(expected, RenamedTo(trace));
        EXPECT_EQ(folder / L"xwmlpllfrf.gc", path);

        const auto moves = trace.OpsOf(K::Move);
        ASSERT_EQ(10u, moves.size());
        EXPECT_EQ(Extended(original), moves[0].path);
        for (std::size_t i = 1; i < moves.size(); ++i) {
            EXPECT_EQ(moves[i - 1].newPath, moves[i].path)
                << "each rename starts where the last ended";
        }
        const auto deletes = trace.OpsOf(K::Delete);
        ASSERT_EQ(1u, deletes.size());
        EXPECT_EQ(Extended(folder / L"xwmlpllfrf.gc"), deletes[0].path);

        const auto writes = trace.OpsOf(K::Write);
        ASSERT_EQ(1u, writes.size());
        EXPECT_EQ(std::string(15, '\0'), writes[0].bytes);
        EXPECT_EQ(1u, trace.Count(K::Truncate));
        for (const FileOp& op : trace.Ops()) {
            if (!op.path.empty()) {
                EXPECT_EQ(0u, op.path.rfind(L"\\\\?\\", 0)) << "every call takes the \\\\?\\ form";
            }
        }
    });
    EXPECT_FALSE(PathExists(original));
    EXPECT_FALSE(PathExists(folder / L"xwmlpllfrf.gc"));
}

TEST(ShredFile, RandomOverwriteDrawsBeforeTheNames) {
    TempFolder folder;
    WriteTestFile(folder / L"four.bin", "abcd");
    OnFreshThread([&] {
        std::wstring path = folder / L"four.bin";
        FileSystemTrace trace;
        EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteRandom, NoProgress()));
        const auto names = RenamedTo(trace);
        ASSERT_EQ(10u, names.size());
        EXPECT_EQ(L"tydimofugc.qu", names[0]);
        EXPECT_EQ(std::string("\x29\x23\xBE\x84", 4), trace.OpsOf(K::Write).at(0).bytes);
        EXPECT_EQ(ReferenceDraws(135)[134], NextRandom()) << "4 fill draws and 130 name draws";
    });
}

TEST(ShredFile, EmptyReadOnlyAndHiddenFilesAreDestroyed) {
    TempFolder folder;
    WriteTestFile(folder / L"empty.txt", "");
    WriteTestFile(folder / L"readonly.txt", "read only");
    WriteTestFile(folder / L"hidden.txt", "hidden");
    SetFileAttributesW((folder / L"readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW((folder / L"hidden.txt").c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    for (const wchar_t* name : {L"empty.txt", L"readonly.txt", L"hidden.txt"}) {
        OnFreshThread([&] {
            std::wstring path = folder / name;
            FileSystemTrace trace;
            EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteDod7, NoProgress())) << name;
            EXPECT_EQ(10u, trace.Count(K::Move)) << name;
            EXPECT_FALSE(PathExists(path)) << name;
            if (std::wstring(name) == L"empty.txt") {
                EXPECT_EQ(0u, trace.Count(K::Write));
            }
        });
        EXPECT_FALSE(PathExists(folder / name)) << name;
    }
}

TEST(ShredFile, FileHeldOpenElsewhereIsLeftAsItWas) {
    TempFolder folder;
    const std::wstring original = folder / L"busy.txt";
    WriteTestFile(original, "in use");
    ASSERT_TRUE(SetFileAttributesW(original.c_str(), Kept));
    KernelHandle holder = HoldWithoutSharing(original);
    std::wstring path = original;
    FileSystemTrace trace;
    EXPECT_EQ(ShredFileOpenFailed, ShredFile(path, OverwriteDod3, NoProgress()));
    holder.Reset();
    EXPECT_EQ(original, path);
    EXPECT_EQ("in use", ReadTestFile(original));
    EXPECT_EQ(Kept, GetFileAttributesW(original.c_str()) & Kept);
    EXPECT_EQ(0u, trace.Count(K::SetAttributes) + trace.Count(K::Write) + trace.Count(K::Move) +
                      trace.Count(K::Delete));
    SetFileAttributesW(original.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A method that fails leaves the file exactly where it is, at its length: nothing is reported as
// destroyed that was not.
TEST(ShredFile, FailedOverwriteLeavesTheFileUntruncatedAndUnrenamed) {
    TempFolder folder;
    const std::wstring original = folder / L"keep.txt";
    struct Case {
        const char* what;
        std::function<bool(const FileSystemTrace&, const FileOp&)> fails;
        std::string contentsAfter;
    };
    const std::vector<Case> cases{
        {"write in pass 2 of Dod7",
         [](const FileSystemTrace& trace, const FileOp& op) {
             return op.kind == K::Write && trace.Count(K::Write) == 1;
         },
         std::string(10, '\0')},
        {"size query",
         [](const FileSystemTrace&, const FileOp& op) { return op.kind == K::SizeQuery; },
         "0123456789"},
        {"allocation",
         [](const FileSystemTrace&, const FileOp& op) { return op.kind == K::Allocate; },
         "0123456789"},
    };
    for (const Case& c : cases) {
        WriteTestFile(original, "0123456789");
        OnFreshThread([&] {
            std::wstring path = original;
            FileSystemTrace trace;
            trace.FailWhen([&](const FileOp& op) { return c.fails(trace, op); });
            EXPECT_EQ(ShredFileOverwriteFailed, ShredFile(path, OverwriteDod7, NoProgress()))
                << c.what;
            EXPECT_EQ(original, path) << c.what;
            EXPECT_EQ(0u, trace.Count(K::Truncate)) << c.what;
            EXPECT_EQ(0u, trace.Count(K::Move)) << c.what;
            EXPECT_EQ(0u, trace.Count(K::Delete)) << c.what;
            EXPECT_EQ(41, NextRandom()) << c.what << ": no names drawn";
        });
        EXPECT_EQ(c.contentsAfter, ReadTestFile(original)) << c.what;
    }
}

TEST(ShredFile, HardLinkedFileIsLeftWhole) {
    TempFolder folder;
    const std::wstring original = folder / L"one.txt";
    const std::wstring other = folder / L"other.txt";
    WriteTestFile(original, "shared data");
    ASSERT_TRUE(CreateHardLinkW(other.c_str(), original.c_str(), nullptr));
    ASSERT_TRUE(SetFileAttributesW(original.c_str(), FILE_ATTRIBUTE_READONLY));
    OnFreshThread([&] {
        std::wstring path = original;
        FileSystemTrace trace;
        EXPECT_EQ(ShredFileHasOtherNames, ShredFile(path, OverwriteGutmann, NoProgress()));
        EXPECT_EQ(original, path);
        EXPECT_EQ(0u, trace.Count(K::SetAttributes) + trace.Count(K::Write) +
                          trace.Count(K::Truncate) + trace.Count(K::Move) + trace.Count(K::Delete));
    });
    EXPECT_EQ("shared data", ReadTestFile(original));
    EXPECT_EQ("shared data", ReadTestFile(other));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY),
              GetFileAttributesW(original.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(original.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(ShredFile, NameCollisionNeverTouchesTheOtherFile) {
    TempFolder folder;
    const std::wstring original = folder / L"victim.txt";
    const std::wstring bystander = folder / L"qrjatydimo.ug";
    WriteTestFile(original, "secret");
    WriteTestFile(bystander, "someone else's file");
    OnFreshThread([&] {
        std::wstring path = original;
        FileSystemTrace trace;
        EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteZeros, NoProgress()));
        const auto moves = trace.OpsOf(K::Move);
        ASSERT_EQ(10u, moves.size());
        EXPECT_EQ(Extended(original), moves[1].path) << "the refused rename left it in place";
        EXPECT_EQ(folder / L"xwmlpllfrf.gc", path);
    });
    EXPECT_FALSE(PathExists(original));
    EXPECT_EQ("someone else's file", ReadTestFile(bystander));
}

TEST(ShredFile, RefusedRenamesAndDeleteAreReportedTruthfully) {
    TempFolder folder;
    const std::wstring original = folder / L"stays.txt";
    WriteTestFile(original, "abc");
    OnFreshThread([&] {
        std::wstring path = original;
        FileSystemTrace trace;
        trace.FailWhen([](const FileOp& op) { return op.kind == K::Move || op.kind == K::Delete; });
        EXPECT_EQ(ShredFileDeleteFailed, ShredFile(path, OverwriteZeros, NoProgress()));
        EXPECT_EQ(original, path) << "no rename succeeded: the file is still under its name";
        EXPECT_EQ(10u, trace.Count(K::Move));
        EXPECT_EQ(Extended(original), trace.OpsOf(K::Delete).at(0).path);
    });
    EXPECT_EQ("", ReadTestFile(original)) << "overwritten and cut to zero length";

    WriteTestFile(original, "abc");
    OnFreshThread([&] {
        std::wstring path = original;
        FileSystemTrace trace;
        trace.FailWhen(
            [&](const FileOp& op) { return op.kind == K::Move && trace.Count(K::Move) == 9; });
        EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteZeros, NoProgress()));
        EXPECT_EQ(folder / ReferenceName(ReferenceDraws(DrawsPerItem), NameDraw(0, 8), true), path)
            << "the ninth name, since the tenth rename was refused";
        EXPECT_FALSE(PathExists(path));
    });
}

TEST(ShredFile, PathLongerThan260Characters) {
    TempFolder folder;
    std::wstring deep = folder.Path();
    for (wchar_t letter : {L'a', L'b', L'c'}) {
        deep += L"\\" + std::wstring(100, letter);
        ASSERT_TRUE(CreateDirectoryW(Extended(deep).c_str(), nullptr));
    }
    const std::wstring original = deep + L"\\" + std::wstring(120, L'f') + L".txt";
    ASSERT_GT(original.size(), 400u);
    WriteTestFile(Extended(original), "deep");
    std::wstring path = original;
    EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteDod3, NoProgress()));
    EXPECT_EQ(deep.size() + 14, path.size());
    EXPECT_FALSE(PathExists(Extended(original)));
    EXPECT_FALSE(PathExists(Extended(path)));
}

TEST(ShredFile, NamesEndingInDotOrSpaceAndBeyondTheBmp) {
    TempFolder folder;
    const std::wstring emoji = L"\U0001F600 notes";
    for (const std::wstring& name :
         {std::wstring(L"trail"), std::wstring(L"trail."), std::wstring(L"trail "), emoji}) {
        ASSERT_TRUE(MakeLinuxFile(folder.Path(), name, "data of " + Utf8Of(name)));
    }
    for (const std::wstring& name : {std::wstring(L"trail."), std::wstring(L"trail "), emoji}) {
        std::wstring path = folder / name;
        EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteRandom, NoProgress())) << Utf8Of(name);
        EXPECT_FALSE(PathExists(Extended(folder / name))) << Utf8Of(name);
    }
    EXPECT_EQ("data of trail", ReadTestFile(folder / L"trail"));
}

TEST(ShredFile, LinuxSymlinkIsNeverFollowed) {
    TempFolder outside;
    TempFolder folder;
    WriteTestFile(outside / L"target.txt", "target data");
    ASSERT_TRUE(MakeLinuxSymlink(outside / L"target.txt", folder.Path(), L"link.txt"));
    ASSERT_EQ("target data", ReadTestFile(folder / L"link.txt")) << "the link works";
    SetFileAttributesW((outside / L"target.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    std::wstring path = folder / L"link.txt";
    FileSystemTrace trace;
    EXPECT_EQ(ShredFileOpenFailed, ShredFile(path, OverwriteZeros, NoProgress()));
    EXPECT_EQ(folder / L"link.txt", path);
    EXPECT_EQ(0u, trace.Count(K::Write));
    EXPECT_EQ(0u, trace.Count(K::SetAttributes)) << "not even the target's attributes change";
    EXPECT_EQ(0u, trace.Count(K::Move));
    EXPECT_EQ(0u, trace.Count(K::Delete));
    EXPECT_EQ("target data", ReadTestFile(outside / L"target.txt"));
    EXPECT_NE(0u, GetFileAttributesW((outside / L"target.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(RemoveLinuxSymlink(folder.Path(), L"link.txt")) << "it is still a link";
}

// Wine reports "twin." by the name "twin"; a link "twin." to its sibling "twin" must still be
// told apart from a file of its own.
TEST(ShredFile, LinkWithATrailingDotToItsPlainNamedSiblingIsNeverFollowed) {
    TempFolder folder;
    WriteTestFile(folder / L"twin", "the sibling's data");
    ASSERT_TRUE(MakeLinuxSymlink(folder / L"twin", folder.Path(), L"twin."));
    std::wstring path = folder / L"twin.";
    FileSystemTrace trace;
    EXPECT_EQ(ShredFileOpenFailed, ShredFile(path, OverwriteZeros, NoProgress()));
    EXPECT_EQ(0u, trace.Count(K::Write) + trace.Count(K::Move) + trace.Count(K::Delete));
    EXPECT_EQ("the sibling's data", ReadTestFile(folder / L"twin"));
    EXPECT_TRUE(RemoveLinuxSymlink(folder.Path(), L"twin.")) << "it is still a link";
}

// A relative path that would resolve to a real file in the current folder is refused before
// anything is asked of the file system.
TEST(ShredFile, RefusedPathTouchesNothing) {
    TempFolder folder;
    WriteTestFile(folder / L"victim.txt", "stay");
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
    std::wstring path = L"victim.txt";
    {
        FileSystemTrace trace;
        EXPECT_EQ(ShredFileOpenFailed, ShredFile(path, OverwriteZeros, NoProgress()));
        EXPECT_TRUE(trace.Ops().empty()) << "nothing at all was touched";
    }
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(L"victim.txt", path);
    EXPECT_EQ("stay", ReadTestFile(folder / L"victim.txt"));
}

TEST(ShredFile, FolderIsNoFile) {
    TempFolder folder;
    MakeTestFolder(folder / L"sub");
    WriteTestFile(folder / L"sub\\keep.txt", "kept");
    std::wstring path = folder / L"sub";
    FileSystemTrace trace;
    EXPECT_EQ(ShredFileOpenFailed, ShredFile(path, OverwriteZeros, NoProgress()));
    EXPECT_EQ(folder / L"sub", path);
    EXPECT_EQ(0u, trace.Count(K::SetAttributes) + trace.Count(K::Write) + trace.Count(K::Move) +
                      trace.Count(K::Delete));
    EXPECT_EQ("kept", ReadTestFile(folder / L"sub\\keep.txt"));
}

TEST(HandleGuarantee, FileIsActedOnOnlyThroughHandlesOnceOpened) {
    TempFolder folder;
    const std::wstring original = folder / L"secret.txt";
    WriteTestFile(original, "secret contents");
    SetFileAttributesW(original.c_str(), Kept);
    OnFreshThread([&] {
        std::wstring path = original;
        FileSystemTrace trace;
        OpenRoots roots;
        EXPECT_EQ(ShredFileDeleted, ShredFile(path, OverwriteDod3, NoProgress()));
        ExpectOnlyTheParentFolderByPath(trace, folder.Path());
        const HANDLE parent = trace.Ops()[0].handle;

        // Attributes, renames and the delete act on one handle, opened relative to the parent.
        HANDLE item = nullptr;
        for (const FileOp& op : trace.Ops()) {
            if (op.kind == K::Move || op.kind == K::Delete || op.kind == K::SetAttributes) {
                if (item == nullptr) {
                    item = op.handle;
                }
                EXPECT_EQ(item, op.handle);
            }
        }
        ASSERT_NE(nullptr, item);
        EXPECT_EQ(parent, OpenRoots::rootOf[item]);
        const auto opens = trace.OpsOf(K::Open);
        const auto itemOpen = std::find_if(opens.begin(), opens.end(),
                                           [&](const FileOp& op) { return op.handle == item; });
        ASSERT_NE(opens.end(), itemOpen);
        EXPECT_EQ(Extended(original), itemOpen->path);

        // The data is written through a handle opened relative to that one.
        const auto writes = trace.OpsOf(K::Write);
        EXPECT_EQ(3u, writes.size());
        for (const FileOp& op : writes) {
            EXPECT_NE(item, op.handle);
            EXPECT_EQ(item, OpenRoots::rootOf[op.handle]);
        }
    });
    EXPECT_FALSE(PathExists(original));
}

} // namespace
