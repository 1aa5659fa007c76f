// Whole jobs on real files: the names and steps each row takes, the disk and the list afterwards,
// and the one report of the rows that stay.
#include "job/free_space_job.h"
#include "job_harness.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <cstdint>
#include <set>

namespace {

TEST(ShredJob, OneFileRowTakesOneStepAndLeavesNothing) {
    TempFolder temp;
    WriteTestFile(temp / L"a.txt", "confidential");
    StandInJob job;
    job.AddRow(temp / L"a.txt");

    job.ShredNow();

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
    MakeTestTree(temp.Path(),
                 {{L"Folder\\", ""}, {L"Folder\\one.bin", "x"}, {L"Folder\\two.bin", "y"}});
    StandInJob job;
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
    MakeTestTree(temp.Path(), {{L"Docs\\", ""},
                               {L"Docs\\inner.txt", "inner"},
                               {L"Docs\\Sub\\", ""},
                               {L"Docs\\Sub\\deep.txt", "deep"},
                               {L"first.txt", "first"},
                               {L"last.txt", "last"}});
    StandInJob job;
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
    StandInJob job;
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
    MakeTestTree(temp.Path(), {{L"gone.txt", "gone"}, {L"here.txt", "here"}});
    StandInJob job;
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

// Rows of one folder share its handle; a file put in a row's place after the pick is another
// item, left whole, whether or not its neighbours go.
TEST(ShredJob, FileSwappedInARowsPlaceAmongItsFoldersRowsStaysWhole) {
    TempFolder temp;
    MakeTestTree(
        temp.Path(),
        {{L"Docs\\", ""}, {L"Docs\\a.txt", "a"}, {L"Docs\\b.txt", "b"}, {L"Docs\\c.txt", "c"}});
    StandInJob job;
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) {
        job.AddRow(temp / (L"Docs\\" + std::wstring(name)));
    }
    ASSERT_TRUE(MoveFileW((temp / L"Docs\\b.txt").c_str(), (temp / L"picked.txt").c_str()));
    MakeTestTree(temp.Path(), {{L"Docs\\b.txt", "newcomer"}});

    job.ShredNow();

    EXPECT_EQ(std::vector<std::wstring>{L"b.txt"}, ListedNames(temp / L"Docs"));
    EXPECT_EQ("newcomer", ReadTestFile(temp / L"Docs\\b.txt"));
    EXPECT_EQ("b", ReadTestFile(temp / L"picked.txt"));
    EXPECT_EQ(std::vector<std::wstring>{temp / L"Docs\\b.txt"}, job.RowPaths());
    ExpectOneReport(job, L"1 item could not be shredded. It remains in the list.");
}

// A volume of 5 GiB free, whose wipe writes one chunk more than counted (another program freed
// space meanwhile) and ends as wipeResult says; what the job's file was when the wipe began.
FreeSpaceWipeResult wipeResult = FreeSpaceWipeResult::Wiped;
std::wstring jobFile;
bool fileThereAtWipe = true;

FreeSpaceWipeResult StandInWipe(const std::wstring&, ShredMethod method, ShredProgress& progress) {
    fileThereAtWipe = PathExists(jobFile);
    const std::uint64_t bytes = (5ull << 30) * PassesOf(method).size() + OverwriteChunkSize;
    for (std::uint64_t done = 0; done < bytes; done += OverwriteChunkSize) {
        progress.BytesWritten(OverwriteChunkSize);
    }
    return wipeResult;
}

TEST(ShredJob, FreeSpaceIsWipedLastWithTheBarAtItsEndAndLeavesOnlyWhenWiped) {
    ReadVolumeFreeSpace = [](const std::wstring&, ULONGLONG& bytes) {
        bytes = 5ull << 30;
        return true;
    };
    WipeVolumeFreeSpace = StandInWipe;
    for (FreeSpaceWipeResult result : {FreeSpaceWipeResult::Wiped, FreeSpaceWipeResult::Failed}) {
        TempFolder temp;
        jobFile = temp / L"a.txt";
        WriteTestFile(jobFile, "a");
        wipeResult = result;
        StandInJob job;
        job.list.Check(OverwriteDod3);
        job.list.AddFreeSpace(L"C:\\");
        job.AddRow(jobFile);

        job.ShredNow();

        EXPECT_FALSE(fileThereAtWipe) << "the free space is wiped after every other row";
        EXPECT_EQ((std::vector<std::wstring>{L"a.txt", L"Free space of C:"}), job.ShownNames());
        const ShownPaint* bar = job.LastPaint(true);
        ASSERT_NE(nullptr, bar);
        EXPECT_GT(bar->range, 1 << 30) << "15 GiB on the bar's 32-bit range";
        EXPECT_EQ(bar->range, bar->position);
        const bool wiped = result == FreeSpaceWipeResult::Wiped;
        EXPECT_EQ(wiped ? 0u : 1u, job.RowPaths().size());
        EXPECT_EQ(wiped ? 0u : 1u, job.reports.size());
    }
    ReadVolumeFreeSpace = ReadFreeSpace;
    WipeVolumeFreeSpace = WipeFreeSpace;
}

TEST(ShredJob, SecondJobRunsLikeTheFirst) {
    TempFolder temp;
    MakeTestTree(temp.Path(), {{L"one.txt", "1"}, {L"two.txt", "2"}});
    StandInJob job;
    job.AddRow(temp / L"one.txt");
    job.ShredNow();
    ExpectCleanEnd(job);

    job.events.clear();
    job.AddRow(temp / L"two.txt");
    job.ShredNow();

    EXPECT_EQ(1, job.rangeHigh);
    EXPECT_EQ((std::vector<std::wstring>{L"two.txt"}), job.ShownNames());
    EXPECT_TRUE(job.RowPaths().empty());
    EXPECT_TRUE(ListedNames(temp.Path()).empty());
}

TEST(ShredJobFailures, LockedFileStaysListedAndIsReported) {
    TempFolder temp;
    MakeTestTree(temp.Path(), {{L"a.txt", "a"}, {L"locked.txt", "held"}, {L"c.txt", "c"}});
    StandInJob job;
    for (const wchar_t* name : {L"a.txt", L"locked.txt", L"c.txt"}) {
        job.AddRow(temp / name);
    }

    {
        const KernelHandle held = HoldWithoutSharing(temp / L"locked.txt");
        job.ShredNow();
    }

    EXPECT_EQ(3, job.rangeHigh);
    EXPECT_EQ(3, job.Steps()) << "the locked file takes its step like any other";
    EXPECT_FALSE(PathExists(temp / L"a.txt"));
    EXPECT_FALSE(PathExists(temp / L"c.txt"));
    EXPECT_TRUE(PathExists(temp / L"locked.txt"));
    EXPECT_EQ(std::vector<std::wstring>{temp / L"locked.txt"}, job.RowPaths());
    ExpectOneReport(job, L"1 item could not be shredded. It remains in the list.");
    EXPECT_TRUE(IsWindowEnabled(job.Main()));
}

TEST(ShredJobFailures, FolderThatCannotBeEmptiedIsListedWhereItNowStands) {
    TempFolder temp;
    const std::wstring folder = temp / L"Keep";
    MakeTestTree(temp.Path(), {{L"Keep\\", ""},
                               {L"Keep\\locked.txt", "held"},
                               {L"Keep\\free.txt", "free"},
                               {L"other.txt", "other"}});
    StandInJob job;
    job.AddRow(temp / L"other.txt");
    job.AddRow(folder);

    {
        const KernelHandle held = HoldWithoutSharing(folder + L"\\locked.txt");
        job.ShredNow();
    }

    EXPECT_FALSE(PathExists(temp / L"other.txt"));
    const std::vector<std::wstring> paths = job.RowPaths();
    ASSERT_EQ(1u, paths.size());
    const DWORD attributes = GetFileAttributesW(paths[0].c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes) << "the row names where the folder is now";
    EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(temp.Path() + L"\\", paths[0].substr(0, temp.Path().size() + 1));
    EXPECT_EQ("held", ReadTestFile(paths[0] + L"\\locked.txt"));
    EXPECT_FALSE(PathExists(paths[0] + L"\\free.txt"));
    ExpectOneReport(job, L"1 item could not be shredded. It remains in the list.");
}

// The process's current folder moved to a test's folder, and back before that folder goes.
class CurrentFolderAt {
public:
    explicit CurrentFolderAt(const std::wstring& folder) : saved_(MAX_PATH, L'\0') {
        saved_.resize(GetCurrentDirectoryW(MAX_PATH, saved_.data()));
        SetCurrentDirectoryW(folder.c_str());
    }
    ~CurrentFolderAt() { SetCurrentDirectoryW(saved_.c_str()); }
    CurrentFolderAt(const CurrentFolderAt&) = delete;
    CurrentFolderAt& operator=(const CurrentFolderAt&) = delete;

private:
    std::wstring saved_;
};

// Rows that would reach real files and a folder in the current folder, were they resolved against
// the current drive or folder: relative, drive-relative, root-relative and empty rows.
TEST(ShredJobFailures, RowsThatAreNotFullPathsAreLeftAlone) {
    TempFolder temp;
    MakeTestTree(temp.Path(), {{L"rel.txt", "relative"},
                               {L"sub\\", ""},
                               {L"sub\\deep.txt", "reached through a folder row"},
                               {L"good.txt", "good"}});
    const CurrentFolderAt inTemp(temp.Path());
    StandInJob job;
    const std::vector<std::wstring> leftAlone = {L"rel.txt",
                                                 L"sub",
                                                 L"C:rel.txt",
                                                 L"",
                                                 temp.Path().substr(2) + L"\\rel.txt",
                                                 L"C:\\",
                                                 L"\\\\server",
                                                 L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\x"};
    job.AddRow(temp / L"good.txt");
    for (const std::wstring& path : leftAlone) {
        job.list.AddRaw(path);
    }

    job.ShredNow();

    EXPECT_EQ(1, job.rangeHigh) << "rows left alone take no steps";
    EXPECT_EQ((std::vector<std::wstring>{L"good.txt"}), job.ShownNames());
    EXPECT_FALSE(PathExists(temp / L"good.txt"));
    EXPECT_EQ("relative", ReadTestFile(temp / L"rel.txt"));
    EXPECT_EQ("reached through a folder row", ReadTestFile(temp / L"sub\\deep.txt"));
    EXPECT_EQ(leftAlone, job.RowPaths());
    ExpectOneReport(job, L"8 items could not be shredded. They remain in the list.");
}

} // namespace
