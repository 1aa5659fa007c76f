// Faults met end to end, in one job: the real main window presses "&Shred Now!", the real progress
// dialog and worker run the real engine on real files, and afterwards the disk, the list, the
// report and a guard tree beside and above the chosen items are checked.
#include "engine/file_system.h"
#include "proof/proof_harness.h"
#include "support/file_system_override.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

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

    TempFolder root;
    std::wstring work = root / L"work";
    WindowJob job;
    GuardSnapshot before;
};

constexpr DWORD Guarded = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

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

// Shredded: a plain file, a read-only, hidden and system file, and such a folder with such a file
// in it. Kept, listed and reported: a file held open without sharing, a folder whose subfolder
// cannot be listed (under the name it now has), and a file and a folder removed after they were
// added.
TEST_F(FaultJob, AWholeRunLeavesListedExactlyWhatStaysAndTheGuardWhole) {
    const std::wstring plain = work + L"\\plain.txt";
    const std::wstring hidden = work + L"\\hidden.txt";
    const std::wstring guarded = work + L"\\protected";
    const std::wstring locked = work + L"\\locked.txt";
    const std::wstring chosen = work + L"\\chosen";
    const std::wstring gone = work + L"\\gone.txt";
    const std::wstring goneFolder = work + L"\\gone-folder";
    WriteTestFile(plain, std::string(5000, 'p'));
    WriteTestFile(hidden, std::string(2000, 'h'));
    MakeTestFolder(guarded);
    WriteTestFile(guarded + L"\\inner.txt", std::string(2000, 'i'));
    WriteTestFile(locked, std::string(5000, 'L'));
    MakeTestFolder(chosen);
    WriteTestFile(chosen + L"\\a.txt", std::string(3000, 'a'));
    WriteTestFile(chosen + L"\\b.txt", std::string(3000, 'b'));
    MakeTestFolder(chosen + L"\\locked");
    WriteTestFile(chosen + L"\\locked\\c.txt", std::string(3000, 'c'));
    WriteTestFile(gone, "soon gone");
    MakeTestFolder(goneFolder);
    for (const std::wstring& row : {plain, hidden, guarded, locked, chosen, gone, goneFolder}) {
        job.AddRow(row);
    }
    ASSERT_EQ(7u, job.RowPaths().size());
    ASSERT_TRUE(SetFileAttributesW((guarded + L"\\inner.txt").c_str(), Guarded));
    ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), Guarded));
    // Wine keeps no attributes of folders; Windows does.
    SetFileAttributesW(guarded.c_str(), Guarded);
    ASSERT_TRUE(DeleteFileW(gone.c_str()));
    ASSERT_TRUE(RemoveDirectoryW(goneFolder.c_str()));
    Guard({plain, hidden, guarded, locked, chosen});
    {
        const FileSystemOverride fault;
        FileSystem.GetFileInformationByHandleEx = RefuseLockedListing;
        FileHandle holder(CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder.Valid());
        job.ShredNow();
    }

    for (const std::wstring& shredded : {plain, hidden, guarded}) {
        EXPECT_FALSE(PathExists(shredded)) << testing::PrintToString(shredded);
    }
    EXPECT_EQ(std::string(5000, 'L'), ReadTestFile(locked));
    const std::vector<std::wstring> rows = Plain(job.RowPaths());
    ASSERT_EQ(4u, rows.size());
    EXPECT_EQ(locked, rows[0]);
    EXPECT_EQ(work + L"\\", rows[1].substr(0, work.size() + 1)) << "the chosen folder's row";
    EXPECT_FALSE(PathExists(rows[1] + L"\\a.txt"));
    EXPECT_FALSE(PathExists(rows[1] + L"\\b.txt"));
    EXPECT_EQ(std::string(3000, 'c'), ReadTestFile(rows[1] + L"\\locked\\c.txt"));
    EXPECT_EQ(gone, rows[2]);
    EXPECT_EQ(goneFolder, rows[3]);
    EXPECT_FALSE(PathExists(goneFolder)) << "a path that leads nowhere is never taken for a folder";
    ExpectListMatchesDisk(job, L"4 items could not be shredded. They remain in the list.",
                          {gone, goneFolder});
    ExpectGuardUnchanged();
}

} // namespace
