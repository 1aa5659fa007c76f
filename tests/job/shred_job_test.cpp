// Whole jobs on real files: the main window's list, "&Shred Now!" and its confirmation, the
// names and steps each row takes, the disk and the list afterwards, and the one report of the
// rows that stay.
#include "job_harness.h"
#include "mainwindow/current_folder.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <set>

namespace {

TEST(ShredJob, OneFileRowTakesOneStepAndLeavesNothing) {
    TempFolder temp;
    WriteTestFile(temp / L"a.txt", "confidential");
    JobHarness job;
    job.AddRow(temp / L"a.txt");

    job.ShredNow();

    ASSERT_EQ(1u, job.confirmations.size()) << "\"&Shred Now!\" asks before the job";
    EXPECT_EQ(L"Are you sure you want to continue?", job.confirmations[0].box.caption);
    EXPECT_EQ(L"Are you sure you want to permanently delete these files and directories?",
              job.confirmations[0].box.text);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), job.confirmations[0].box.buttons);
    EXPECT_EQ(job.Main(), job.confirmations[0].owner);
    ExpectCleanEnd(job);
    EXPECT_EQ(0, job.rangeLow);
    EXPECT_EQ(1, job.rangeHigh);
    EXPECT_EQ(0, job.positionAtStart);
    EXPECT_EQ(L"C:\\Program Files\\Windows", job.nameAtStart);
    ASSERT_EQ(2u, job.events.size());
    EXPECT_EQ(L"a.txt", job.events[0].name);
    ExpectEveryNameStepped(job);
    EXPECT_TRUE(ListedNames(temp.Path()).empty()) << "not even a renamed file may remain";
}

TEST(ShredJob, FolderRowShowsItsFilesThenItsOwnName) {
    TempFolder temp;
    const std::wstring folder = temp / L"Folder";
    MakeTestFolder(folder);
    WriteTestFile(folder + L"\\one.bin", std::string(3000, 'x'));
    WriteTestFile(folder + L"\\two.bin", "y");
    JobHarness job;
    job.AddRow(folder);

    job.ShredNow();

    ExpectCleanEnd(job);
    EXPECT_EQ(0, job.rangeLow);
    EXPECT_EQ(3, job.rangeHigh);
    const std::vector<std::wstring> names = job.ShownNames();
    ASSERT_EQ(3u, names.size());
    EXPECT_EQ((std::set<std::wstring>{L"one.bin", L"two.bin"}),
              (std::set<std::wstring>{names[0], names[1]}));
    EXPECT_EQ(L"Folder", names[2]);
    ExpectEveryNameStepped(job);
    EXPECT_TRUE(ListedNames(temp.Path()).empty());
}

TEST(ShredJob, MixedListIsShreddedTopToBottom) {
    TempFolder temp;
    const std::wstring folder = temp / L"Docs";
    MakeTestFolder(folder);
    WriteTestFile(folder + L"\\inner.txt", "inner");
    MakeTestFolder(folder + L"\\Sub");
    WriteTestFile(folder + L"\\Sub\\deep.txt", "deep");
    WriteTestFile(temp / L"first.txt", "first");
    WriteTestFile(temp / L"last.txt", "last");
    JobHarness job;
    job.AddRow(temp / L"first.txt");
    job.AddRow(folder);
    job.AddRow(temp / L"last.txt");

    job.ShredNow();

    ExpectCleanEnd(job);
    EXPECT_EQ(6, job.rangeHigh) << "1 + (Docs, inner.txt, Sub, deep.txt) + 1";
    const std::vector<std::wstring> names = job.ShownNames();
    ASSERT_EQ(6u, names.size());
    EXPECT_EQ(L"first.txt", names[0]);
    EXPECT_EQ(L"Docs", names[4]);
    EXPECT_EQ(L"last.txt", names[5]);
    const auto position = [&names](const wchar_t* name) {
        return std::find(names.begin(), names.end(), name) - names.begin();
    };
    EXPECT_LT(position(L"deep.txt"), position(L"Sub")) << "a folder's contents go before it";
    EXPECT_LT(position(L"inner.txt"), 4);
    ExpectEveryNameStepped(job);
    EXPECT_EQ(6, job.LastPosition());
    EXPECT_TRUE(ListedNames(temp.Path()).empty());
}

TEST(ShredJob, RowLongerThanMaxPathIsReadWhole) {
    // The row is 261 characters: just long enough not to fit a buffer of MAX_PATH.
    TempFolder temp;
    const std::wstring folder = temp / std::wstring(200 - temp.Path().size(), L'd');
    MakeTestFolder(folder);
    const std::wstring name = std::wstring(MAX_PATH - folder.size() - 4, L'f') + L".txt";
    const std::wstring file = folder + L"\\" + name;
    WriteTestFile(file, "far away");
    JobHarness job;
    job.AddRow(file);
    ASSERT_EQ(std::vector<std::wstring>{file}, job.RowPaths());

    job.ShredNow();

    ExpectCleanEnd(job);
    EXPECT_EQ(1, job.rangeHigh);
    EXPECT_EQ(std::vector<std::wstring>{name}, job.ShownNames());
    EXPECT_TRUE(ListedNames(folder).empty());
}

// A path that no longer leads to the item is no sign that the item was destroyed: a drive letter
// the shredder does not see, a stick back under another letter.
TEST(ShredJob, RowWhoseItemIsGoneTakesNoStepAndStaysReported) {
    TempFolder temp;
    WriteTestFile(temp / L"gone.txt", "gone");
    WriteTestFile(temp / L"here.txt", "here");
    JobHarness job;
    job.AddRow(temp / L"gone.txt");
    job.AddRow(temp / L"here.txt");
    ASSERT_TRUE(DeleteFileW((temp / L"gone.txt").c_str()));

    job.ShredNow();

    EXPECT_EQ(2, job.rangeHigh) << "the count follows the path: a missing item counts 1";
    ASSERT_EQ(2u, job.events.size());
    EXPECT_EQ(L"here.txt", job.events[0].name);
    EXPECT_EQ(1, job.LastPosition());
    EXPECT_TRUE(ListedNames(temp.Path()).empty());
    EXPECT_EQ(std::vector<std::wstring>{temp / L"gone.txt"}, job.RowPaths());
    ASSERT_EQ(1u, job.reports.size());
    EXPECT_EQ(L"1 item could not be shredded. It remains in the list.", job.reports[0].box.text);
}

TEST(ShredJob, SecondJobRunsLikeTheFirst) {
    TempFolder temp;
    WriteTestFile(temp / L"one.txt", "1");
    WriteTestFile(temp / L"two.txt", "2");
    JobHarness job;
    job.AddRow(temp / L"one.txt");
    job.ShredNow();
    ExpectCleanEnd(job);

    job.events.clear();
    job.AddRow(temp / L"two.txt");
    job.ShredNow();

    EXPECT_EQ(1, job.rangeHigh);
    EXPECT_EQ((std::vector<std::wstring>{L"two.txt"}), job.ShownNames());
    EXPECT_EQ(0, ListItemCount(job.List()));
    EXPECT_TRUE(ListedNames(temp.Path()).empty());
}

TEST(ShredJobFailures, LockedFileStaysListedAndIsReported) {
    TempFolder temp;
    WriteTestFile(temp / L"a.txt", "a");
    WriteTestFile(temp / L"locked.txt", "held");
    WriteTestFile(temp / L"c.txt", "c");
    JobHarness job;
    for (const wchar_t* name : {L"a.txt", L"locked.txt", L"c.txt"}) {
        job.AddRow(temp / name);
    }

    {
        LockedFile lock(temp / L"locked.txt");
        job.ShredNow();
    }

    EXPECT_EQ(3, job.rangeHigh);
    EXPECT_EQ(3, job.Steps()) << "the locked file takes its step like any other";
    EXPECT_FALSE(PathExists(temp / L"a.txt"));
    EXPECT_FALSE(PathExists(temp / L"c.txt"));
    EXPECT_TRUE(PathExists(temp / L"locked.txt"));
    EXPECT_EQ(std::vector<std::wstring>{temp / L"locked.txt"}, job.RowPaths());
    EXPECT_EQ(std::vector<std::wstring>{L"locked.txt"}, job.RowNames());
    ExpectOneReport(job, L"1 item could not be shredded. It remains in the list.");
    EXPECT_TRUE(IsWindowEnabled(job.Main()));
}

TEST(ShredJobFailures, FolderThatCannotBeEmptiedIsListedWhereItNowStands) {
    TempFolder temp;
    const std::wstring folder = temp / L"Keep";
    MakeTestFolder(folder);
    WriteTestFile(folder + L"\\locked.txt", "held");
    WriteTestFile(folder + L"\\free.txt", "free");
    WriteTestFile(temp / L"other.txt", "other");
    JobHarness job;
    job.AddRow(temp / L"other.txt");
    job.AddRow(folder);

    {
        LockedFile lock(folder + L"\\locked.txt");
        job.ShredNow();
    }

    EXPECT_FALSE(PathExists(temp / L"other.txt"));
    const std::vector<std::wstring> paths = job.RowPaths();
    ASSERT_EQ(1u, paths.size());
    const DWORD attributes = GetFileAttributesW(paths[0].c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes) << "the row names where the folder is now";
    EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(temp.Path() + L"\\", paths[0].substr(0, temp.Path().size() + 1));
    EXPECT_EQ(paths[0].substr(paths[0].find_last_of(L'\\') + 1), job.RowNames()[0]);
    EXPECT_EQ("held", ReadTestFile(paths[0] + L"\\locked.txt"));
    EXPECT_FALSE(PathExists(paths[0] + L"\\free.txt"));
    ExpectOneReport(job, L"1 item could not be shredded. It remains in the list.");
}

// Rows that would reach real files and a folder in the current folder, were they resolved against
// the current drive or folder: relative, drive-relative, root-relative and empty rows.
TEST(ShredJobFailures, RowsThatAreNotFullPathsAreLeftAlone) {
    TempFolder temp;
    WriteTestFile(temp / L"rel.txt", "relative");
    MakeTestFolder(temp / L"sub");
    WriteTestFile(temp / L"sub\\deep.txt", "reached through a folder row");
    WriteTestFile(temp / L"good.txt", "good");
    const CurrentFolderScope restore;
    SetCurrentDirectoryW(temp.Path().c_str());
    JobHarness job;
    job.AddRawRow(L"rel.txt", L"rel.txt");
    job.AddRow(temp / L"good.txt");
    job.AddRawRow(L"sub", L"sub");
    job.AddRawRow(L"C:rel.txt", L"C:rel.txt");
    job.AddRawRow(L"", L"");
    job.AddRawRow(L"rel.txt", temp.Path().substr(2) + L"\\rel.txt");
    job.AddRawRow(L"C:\\", L"C:\\");
    job.AddRawRow(L"server", L"\\\\server");
    job.AddRawRow(L"x", L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\x");
    const std::vector<std::vector<std::wstring>> before = ListRows(job.List(), 3);

    job.ShredNow();

    EXPECT_EQ(1, job.rangeHigh) << "rows left alone take no steps";
    EXPECT_EQ((std::vector<std::wstring>{L"good.txt"}), job.ShownNames());
    EXPECT_FALSE(PathExists(temp / L"good.txt"));
    EXPECT_EQ("relative", ReadTestFile(temp / L"rel.txt"));
    EXPECT_EQ("reached through a folder row", ReadTestFile(temp / L"sub\\deep.txt"));
    std::vector<std::vector<std::wstring>> expected = before;
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(expected, ListRows(job.List(), 3));
    ExpectOneReport(job, L"8 items could not be shredded. They remain in the list.");
}

} // namespace
