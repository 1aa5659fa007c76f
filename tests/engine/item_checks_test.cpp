// Making sure a handle is the very item its folder names: a link to the same path on another
// drive is left alone; and an item another program holds for a moment: its opens are tried again.
#include "engine/file_shredder.h"
#include "engine/folder_shredder.h"
#include "support/file_system_override.h"
#include "support/file_system_trace.h"
#include "support/fresh_thread.h"
#include "support/linux_side.h"
#include "support/progress_recorder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using K = FileOp::Kind;

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

// Refuses the first refusals opens that ask for heldAccess (by default a file's data opens) with
// a sharing violation, as an indexer or a scanner holding the item would make them fail, and
// counts them all.
struct HeldData {
    static inline int refusals = 0;
    static inline int attempts = 0;
    static inline DWORD heldAccess = GENERIC_WRITE;
    static inline FileSystemApi below;

    static HANDLE Open(HANDLE root, LPCWSTR name, DWORD access, DWORD share, DWORD options) {
        if ((access & heldAccess) != 0) {
            ++attempts;
            if (refusals > 0) {
                --refusals;
                SetLastError(ERROR_SHARING_VIOLATION);
                return INVALID_HANDLE_VALUE;
            }
        }
        return below.OpenRelative(root, name, access, share, options);
    }

    explicit HeldData(int refuse, DWORD access = GENERIC_WRITE) {
        below = FileSystem;
        refusals = refuse;
        heldAccess = access;
        attempts = 0;
        FileSystem.OpenRelative = Open;
    }
};

// Asks for a stop from its askedBeforeStop + 1st question on.
class StopAfter : public ShredProgress {
public:
    explicit StopAfter(int askedBeforeStop) : left_(askedBeforeStop) {}
    void ShowName(const std::wstring&) override {}
    void Step() override {}
    bool StopRequested() const override { return left_-- <= 0; }

private:
    mutable int left_;
};

// The data open, the file's first open (the one with delete access) and a folder's reopen for its
// removal (the only one of a folder with delete access).
TEST(HeldFile, SharingViolationThatClearsOnTheThirdTryShredsTheItem) {
    for (const auto& [isFolder, access] :
         {std::pair{false, DWORD{GENERIC_WRITE}}, std::pair{false, DWORD{DELETE}},
          std::pair{true, DWORD{DELETE}}}) {
        TempFolder folder;
        std::wstring path = folder / L"indexed";
        isFolder ? MakeTestFolder(path) : WriteTestFile(path, "briefly held");
        FileSystemOverride restore;
        HeldData held(2, access);
        EXPECT_EQ(0, isFolder ? ShredFolder(path, OverwriteZeros, NoProgress())
                              : ShredFile(path, OverwriteZeros, NoProgress()));
        EXPECT_EQ(3, HeldData::attempts) << "folder " << isFolder << ", access " << access;
        EXPECT_FALSE(PathExists(folder / L"indexed"));
    }
}

TEST(HeldFile, SharingViolationThatNeverClearsLeavesTheFileAfterAboutASecond) {
    TempFolder folder;
    const std::wstring original = folder / L"held.txt";
    WriteTestFile(original, "held for good");
    ASSERT_TRUE(SetFileAttributesW(original.c_str(), FILE_ATTRIBUTE_HIDDEN));
    std::wstring path = original;
    {
        FileSystemTrace trace;
        HeldData held(1000);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(ShredFileOpenFailed, ShredFile(path, OverwriteZeros, NoProgress()));
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(5, HeldData::attempts);
        EXPECT_GE(waited, std::chrono::milliseconds(900)) << "tried again over about a second";
        EXPECT_EQ(0u, trace.Count(K::Write) + trace.Count(K::Move) + trace.Count(K::Delete));
    }
    EXPECT_EQ(original, path);
    EXPECT_EQ("held for good", ReadTestFile(original));
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_HIDDEN},
              GetFileAttributesW(original.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(original.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(HeldFile, StopRequestEndsTheWaitWithinAShortSlice) {
    TempFolder folder;
    const std::wstring original = folder / L"held.txt";
    WriteTestFile(original, "held for good");
    std::wstring path = original;
    // Two questions answered "go on", the third "stop": asked slice by slice, the first wait
    // ends there; asked once a wait, the third question would come only after three tries.
    StopAfter stop(2);
    FileSystemOverride restore;
    HeldData held(1000);
    EXPECT_EQ(ShredFileOpenFailed, ShredFile(path, OverwriteZeros, stop));
    EXPECT_EQ(1, HeldData::attempts);
    EXPECT_EQ("held for good", ReadTestFile(original));
}

} // namespace
