// The item the user chose, and no other: between the pick and the job a folder on the way is
// swapped for a link to a look-alike, or moved away; rows inside a folder row. Shredded end to end
// through the real job on real files, with a guard tree that must stay whole.
#include "mainwindow/path_pickers.h"
#include "proof/proof_harness.h"
#include "support/linux_side.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace proof;

namespace {

class ChosenItemJob : public GuardedJob {
protected:
    // Makes folder\secret.txt and folder\secretdir\inner.txt, tagged with tag.
    static void MakeShape(const std::wstring& folder, char tag) {
        MakeTestFolder(folder);
        WriteTestFile(folder + L"\\secret.txt", std::string(5000, tag));
        MakeTestFolder(folder + L"\\secretdir");
        WriteTestFile(folder + L"\\secretdir\\inner.txt", std::string(3000, tag));
    }
};

// Under Wine a Linux link on the way opens as what it points to, as a junction does on Windows.
TEST_F(ChosenItemJob, ParentSwappedForALinkToALookAlikeLeavesTheLookAlikeWhole) {
    const std::wstring parent = work + L"\\parent";
    MakeShape(parent, 'c');
    job.AddRow(parent + L"\\secret.txt");
    job.AddRow(parent + L"\\secretdir");
    ASSERT_EQ(2u, job.RowPaths().size());
    ASSERT_TRUE(MoveFileW(parent.c_str(), (root / L"moved").c_str()));
    MakeShape(root / L"lookalike", 'g');
    ASSERT_TRUE(MakeLinuxSymlink(root / L"lookalike", work, L"parent"));
    const GuardSnapshot before = SnapshotGuard(root.Path(), {});

    job.ShredNow();

    EXPECT_EQ(before, SnapshotGuard(root.Path(), {})) << "neither look-alike nor chosen touched";
    EXPECT_EQ(std::string(5000, 'g'), ReadTestFile(root / L"lookalike\\secret.txt"));
    EXPECT_EQ((std::vector<std::wstring>{parent + L"\\secret.txt", parent + L"\\secretdir"}),
              Plain(job.RowPaths()));
    ExpectOneReport(job, L"2 items could not be shredded. They remain in the list.");
    EXPECT_TRUE(job.ShownNames().empty());
}

TEST_F(ChosenItemJob, FileWhoseFolderMovedAwayStaysAndIsReported) {
    const std::wstring away = work + L"\\away";
    MakeShape(away, 'a');
    job.AddRow(away + L"\\secret.txt");
    ASSERT_TRUE(MoveFileW(away.c_str(), (work + L"\\elsewhere").c_str()));
    const GuardSnapshot before = SnapshotGuard(root.Path(), {});

    job.ShredNow();

    EXPECT_EQ(before, SnapshotGuard(root.Path(), {}));
    EXPECT_EQ(std::vector<std::wstring>{away + L"\\secret.txt"}, Plain(job.RowPaths()));
    ExpectOneReport(job, L"1 item could not be shredded. It remains in the list.");
}

// The file row goes first, then its folder, which keeps a file held elsewhere and so stays under
// a random name: the file row is judged by what the engine did to it, not by its path now.
TEST_F(ChosenItemJob, FileRowInsideAFolderRowIsShreddedFirstAndJudgedByItsOwnResult) {
    const std::wstring folder = work + L"\\folder";
    MakeShape(folder, 'f');
    WriteTestFile(folder + L"\\held.txt", "held elsewhere");
    job.AddRow(folder + L"\\secret.txt");
    job.AddRow(folder);
    const GuardSnapshot before = SnapshotGuard(root.Path(), {folder});
    {
        KernelHandle holder(CreateFileW((folder + L"\\held.txt").c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder.IsValid());
        job.ShredNow();
    }

    const std::vector<std::wstring> names = job.ShownNames();
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(L"secret.txt", names[0]);
    const std::vector<std::wstring> rows = Plain(job.RowPaths());
    ASSERT_EQ(1u, rows.size()) << "the file row is gone: the engine deleted its file";
    EXPECT_EQ(work + L"\\", rows[0].substr(0, work.size() + 1));
    EXPECT_EQ(std::vector<std::wstring>{L"held.txt"}, ListedNames(rows[0]));
    EXPECT_EQ("held elsewhere", ReadTestFile(rows[0] + L"\\held.txt"));
    EXPECT_EQ(before, SnapshotGuard(root.Path(), {rows[0]}));
    ExpectListMatchesDisk(job, L"1 item could not be shredded. It remains in the list.");
}

// Names are compared ignoring case on Windows, and a Linux folder under Wine is case-sensitive:
// only the path the disk spells, read back when the row is added, reaches the item.
TEST(ChosenItemStart, AnotherCaseAndAShortNameOnTheCommandLineReachTheirItems) {
    TempFolder root;
    const std::wstring folder = root / L"Folder of a long name";
    MakeTestFolder(folder);
    WriteTestFile(folder + L"\\inner.txt", "i");
    WriteTestFile(root / L"Report.txt", std::string(5000, 'r'));
    WriteTestFile(root / L"beside.txt", "b");
    wchar_t shortFolder[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(folder.c_str(), shortFolder, MAX_PATH), 0u);
    const std::wstring line = L"Ferrolet.exe " + root / L"REPORT.TXT" + L" " + shortFolder;
    const MainWindowStart start{CommandLinePaths(line.c_str())};
    WindowJob job(&start);
    ASSERT_EQ(2u, job.RowPaths().size());

    job.ShredNow();

    EXPECT_EQ(std::vector<std::wstring>{L"beside.txt"}, ListedNames(root.Path()));
    ExpectListMatchesDisk(job);
}

} // namespace
