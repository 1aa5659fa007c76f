// Faults met end to end: the real main window presses "&Shred Now!", the real progress dialog and
// worker run the real engine on real files, and afterwards the disk, the list, the report and a
// guard tree beside and above the chosen items are checked.
#include "engine/file_system.h"
#include "proof/proof_harness.h"
#include "support/file_system_override.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

using namespace proof;

namespace {

// root\above.txt, root\guard\..., root\work\beside.txt and root\work\beside\...: everything a
// job over items in root\work must leave alone.
class FaultJob : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, job.Main());
        WriteTestFile(root / L"above.txt", "above the chosen items");
        MakeTestFolder(root / L"guard");
        WriteTestFile(root / L"guard\\kept.bin", std::string(70000, 'g'));
        MakeTestFolder(work);
        WriteTestFile(work + L"\\beside.txt", "beside the chosen items");
        MakeTestFolder(work + L"\\beside");
        WriteTestFile(work + L"\\beside\\inner.txt", "inside a folder beside");
    }

    // Takes the guard's checksums, leaving out the chosen items.
    void Guard(const std::vector<std::wstring>& chosen) {
        before = SnapshotGuard(root.Path(), chosen);
        ASSERT_GE(before.size(), 6u);
    }

    // The guard after the job, leaving out what the list still holds, must equal the guard before.
    void ExpectGuardUnchanged() {
        EXPECT_EQ(before, SnapshotGuard(root.Path(), Plain(job.RowPaths())));
    }

    // Shreds chosen as the list's only row with "All 0's": it must be gone, the list empty and
    // everything else as it was.
    void ExpectOnlyRowShredded(const std::wstring& chosen);

    TempFolder root;
    std::wstring work = root / L"work";
    JobHarness job;
    GuardSnapshot before;
};

std::string Contents(char tag, std::size_t size) {
    return std::string(size, tag);
}

TEST_F(FaultJob, FileHeldOpenWithoutSharingStaysListedAndIsReported) {
    const std::wstring locked = work + L"\\locked.txt";
    const std::wstring free = work + L"\\free.txt";
    WriteTestFile(locked, Contents('L', 5000));
    WriteTestFile(free, Contents('F', 5000));
    job.AddRow(locked);
    job.AddRow(free);
    Guard({locked, free});
    {
        FileHandle holder(CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder.Valid());
        job.ShredNow();
    }
    EXPECT_FALSE(PathExists(free));
    EXPECT_EQ(Contents('L', 5000), ReadTestFile(locked));
    EXPECT_EQ(std::vector<std::wstring>{locked}, Plain(job.RowPaths()));
    ExpectListMatchesDisk(job);
    ExpectGuardUnchanged();
}

// Listing of any folder named locked is refused, as for a folder without rights.
BOOL WINAPI RefuseLockedListing(HANDLE folder, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info,
                                DWORD size) {
    alignas(8) unsigned char buffer[sizeof(FILE_NAME_INFO) + 2048]{};
    auto* name = reinterpret_cast<FILE_NAME_INFO*>(buffer);
    if ((kind == FileIdBothDirectoryRestartInfo || kind == FileIdBothDirectoryInfo) &&
        RealFileSystem.GetFileInformationByHandleEx(folder, FileNameInfo, name, sizeof(buffer)) &&
        std::wstring(name->FileName, name->FileNameLength / sizeof(wchar_t))
            .ends_with(L"\\locked")) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return RealFileSystem.GetFileInformationByHandleEx(folder, kind, info, size);
}

TEST_F(FaultJob, FolderThatCannotBeListedKeepsItsContentsAndItsRow) {
    const std::wstring chosen = work + L"\\chosen";
    MakeTestFolder(chosen);
    WriteTestFile(chosen + L"\\a.txt", Contents('a', 3000));
    WriteTestFile(chosen + L"\\b.txt", Contents('b', 3000));
    MakeTestFolder(chosen + L"\\locked");
    WriteTestFile(chosen + L"\\locked\\c.txt", Contents('c', 3000));
    job.AddRow(chosen);
    Guard({chosen});
    {
        const FileSystemOverride fault;
        FileSystem.GetFileInformationByHandleEx = RefuseLockedListing;
        job.ShredNow();
    }

    const std::vector<std::wstring> rows = Plain(job.RowPaths());
    ASSERT_EQ(1u, rows.size());
    EXPECT_TRUE(PathExists(rows[0]));
    EXPECT_FALSE(PathExists(rows[0] + L"\\a.txt"));
    EXPECT_FALSE(PathExists(rows[0] + L"\\b.txt"));
    EXPECT_EQ(Contents('c', 3000), ReadTestFile(rows[0] + L"\\locked\\c.txt"));
    ExpectListMatchesDisk(job);
    ExpectGuardUnchanged();
}

// A path that leads nowhere is never taken for a folder, nor for an item destroyed.
TEST_F(FaultJob, ItemsRemovedAfterAddingStayListedAndAreReported) {
    const std::wstring gone = work + L"\\gone.txt";
    const std::wstring goneFolder = work + L"\\gone-folder";
    const std::wstring present = work + L"\\present.txt";
    WriteTestFile(gone, "soon gone");
    MakeTestFolder(goneFolder);
    WriteTestFile(present, "still here");
    job.AddRow(gone);
    job.AddRow(goneFolder);
    job.AddRow(present);
    ASSERT_EQ(3u, job.RowPaths().size());
    ASSERT_TRUE(DeleteFileW(gone.c_str()));
    ASSERT_TRUE(RemoveDirectoryW(goneFolder.c_str()));
    Guard({present});
    job.ShredNow();

    EXPECT_FALSE(PathExists(present));
    EXPECT_EQ((std::vector<std::wstring>{gone, goneFolder}), Plain(job.RowPaths()));
    ASSERT_EQ(1u, job.reports.size());
    EXPECT_EQ(NotShreddedMessage(2), job.reports[0].box.text);
    ExpectGuardUnchanged();
}

// The first names that a job's fresh worker draws: a file's and a folder's.
constexpr wchar_t FirstFileName[] = L"qrjatydimo.ug";
constexpr wchar_t FirstFolderName[] = L"qrjatydimofug";

void FaultJob::ExpectOnlyRowShredded(const std::wstring& chosen) {
    job.CheckMethod(IDC_METHOD_ZEROS);
    job.AddRow(chosen);
    Guard({chosen});
    job.ShredNow();

    EXPECT_FALSE(PathExists(chosen));
    EXPECT_TRUE(job.RowPaths().empty());
    ExpectListMatchesDisk(job);
    ExpectGuardUnchanged();
}

TEST_F(FaultJob, FileRenameCollisionLeavesTheOtherFileAlone) {
    const std::wstring chosen = work + L"\\chosen.txt";
    WriteTestFile(chosen, Contents('x', 4096));
    WriteTestFile(work + L"\\" + FirstFileName, "an earlier job's leftover, or anyone's file");
    ExpectOnlyRowShredded(chosen);
}

TEST_F(FaultJob, FolderRenameCollisionLeavesTheOtherFolderAlone) {
    const std::wstring chosen = work + L"\\chosen";
    MakeTestFolder(chosen);
    MakeTestFolder(work + L"\\" + FirstFolderName);
    WriteTestFile(work + L"\\" + FirstFolderName + L"\\precious.txt", "not part of the job");
    ExpectOnlyRowShredded(chosen);
}

TEST_F(FaultJob, ReadOnlyHiddenAndSystemItemsAreShredded) {
    constexpr DWORD guarded =
        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const std::wstring file = work + L"\\protected.txt";
    const std::wstring folder = work + L"\\protected";
    WriteTestFile(file, Contents('p', 2000));
    MakeTestFolder(folder);
    WriteTestFile(folder + L"\\inner.txt", Contents('i', 2000));
    job.AddRow(file);
    job.AddRow(folder);
    ASSERT_TRUE(SetFileAttributesW((folder + L"\\inner.txt").c_str(), guarded));
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), guarded));
    SetFileAttributesW(folder.c_str(), guarded);
    ASSERT_NE(0u, GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    Guard({file, folder});
    job.ShredNow();

    EXPECT_FALSE(PathExists(file));
    EXPECT_FALSE(PathExists(folder));
    EXPECT_TRUE(job.RowPaths().empty());
    EXPECT_TRUE(job.reports.empty());
    ExpectGuardUnchanged();
}

// Restores the current folder that a test moved.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::wstring& folder) {
        GetCurrentDirectoryW(MAX_PATH, previous_);
        SetCurrentDirectoryW(folder.c_str());
    }
    ~CurrentFolder() { SetCurrentDirectoryW(previous_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    wchar_t previous_[MAX_PATH] = {};
};

TEST_F(FaultJob, RowsThatAreNotFullPathsAreNeverActedOn) {
    // Files that an empty, relative, drive-relative or root-relative row would reach if it were
    // resolved against the current drive or folder.
    const std::wstring current = work + L"\\current";
    MakeTestFolder(current);
    WriteTestFile(current + L"\\relative.txt", "reached through a relative row");
    WriteTestFile(current + L"\\drive.txt", "reached through a drive-relative row");
    MakeTestFolder(current + L"\\sub");
    WriteTestFile(current + L"\\sub\\deep.txt", "reached through a folder row");
    const std::wstring real = work + L"\\real.txt";
    WriteTestFile(real, "the one real row");
    const CurrentFolder inside(current);
    const std::wstring rootRelative = (current + L"\\relative.txt").substr(2);

    job.AddRawRow(L"", L"");
    job.AddRawRow(L"relative.txt", L"relative.txt");
    job.AddRawRow(L"sub", L"sub");
    job.AddRawRow(current.substr(0, 2) + L"drive.txt", current.substr(0, 2) + L"drive.txt");
    job.AddRawRow(rootRelative, rootRelative);
    job.AddRow(real);
    Guard({real});
    job.ShredNow();

    EXPECT_FALSE(PathExists(real));
    const std::vector<std::wstring> expected = {L"", L"relative.txt", L"sub",
                                                current.substr(0, 2) + L"drive.txt", rootRelative};
    EXPECT_EQ(expected, job.RowPaths());
    ASSERT_EQ(1u, job.reports.size());
    EXPECT_EQ(NotShreddedMessage(5), job.reports[0].box.text);
    EXPECT_EQ(before, SnapshotGuard(root.Path(), {}));
}

// Deletes through the real call and, right after the third file is gone, asks the progress
// dialog to close as Alt+F4 would, while the worker is in the middle of a folder.
std::atomic<int> deletes{0};

BOOL DeleteThenCloseOnThird(HANDLE item) {
    const BOOL deleted = RealFileSystem.DeleteByHandle(item);
    if (deleted && ++deletes == 3) {
        const HWND progress = FindWindowW(L"#32770", ProgressCaption);
        EXPECT_NE(nullptr, progress);
        SendMessageW(progress, WM_CLOSE, 0, 0);
    }
    return deleted;
}

TEST_F(FaultJob, CancelInTheMiddleOfAFolderFinishesTheFileAtHandAndKeepsTheRest) {
    const std::wstring folder = work + L"\\many";
    const std::wstring after = work + L"\\after.txt";
    MakeTestFolder(folder);
    constexpr int files = 20;
    for (int i = 0; i < files; ++i) {
        WriteTestFile(folder + L"\\f" + std::to_wstring(100 + i) + L".txt",
                      Contents(static_cast<char>('A' + i), 1000 + i));
    }
    WriteTestFile(after, "the row after the folder");
    job.AddRow(folder);
    job.AddRow(after);
    Guard({folder, after});
    deletes = 0;
    {
        const FileSystemOverride fault;
        FileSystem.DeleteByHandle = DeleteThenCloseOnThird;
        job.ShredNow();
    }

    // Every file is either gone for good or untouched under its own name; none half-renamed.
    int remaining = 0;
    for (int i = 0; i < files; ++i) {
        const std::wstring file = folder + L"\\f" + std::to_wstring(100 + i) + L".txt";
        if (PathExists(file)) {
            ++remaining;
            EXPECT_EQ(Contents(static_cast<char>('A' + i), 1000 + i), ReadTestFile(file));
        }
    }
    EXPECT_EQ(files - 3, remaining);
    GuardSnapshot inFolder = SnapshotGuard(folder, {});
    EXPECT_EQ(static_cast<std::size_t>(remaining), inFolder.size())
        << "only the untouched files may remain in the folder";
    EXPECT_EQ("the row after the folder", ReadTestFile(after));
    // The row after the folder was never started: it stays, but only the folder is reported.
    EXPECT_EQ((std::vector<std::wstring>{folder, after}), Plain(job.RowPaths()));
    ExpectListMatchesDisk(job, 1);
    ExpectGuardUnchanged();
}

} // namespace
