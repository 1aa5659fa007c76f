// Whole jobs on real files: the main window's list, "&Shred Now!", the progress dialog's range,
// names and steps, the disk and the list afterwards.
#include "job_harness.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <set>

namespace {

// Names and steps alternate, each name followed by exactly one step, the bar counting up by one.
void ExpectEveryNameStepped(const JobHarness& job) {
    ASSERT_EQ(0u, job.events.size() % 2);
    for (std::size_t i = 0; i < job.events.size(); i += 2) {
        EXPECT_FALSE(job.events[i].step) << "event " << i;
        EXPECT_TRUE(job.events[i + 1].step) << "event " << i + 1;
        EXPECT_EQ(static_cast<int>(i / 2 + 1), job.events[i + 1].position);
    }
}

void ExpectCleanEnd(const JobHarness& job) {
    EXPECT_TRUE(job.progressShown);
    EXPECT_EQ(job.Main(), job.progressOwner);
    EXPECT_TRUE(job.mainDisabledWhileShown);
    EXPECT_TRUE(job.reports.empty()) << "no report after a job that destroyed everything";
    EXPECT_EQ(0, ListItemCount(job.List()));
    EXPECT_TRUE(IsWindowEnabled(job.Main()));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(job.Main(), IDC_METHOD_RANDOM));
}

TEST(ShredJob, OneFileRowTakesOneStepAndLeavesNothing) {
    TempFolder temp;
    WriteTestFile(temp / L"a.txt", "confidential");
    JobHarness job;
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

// The dialog ends on the thread that owns it, so its owner is active again; and the name line
// and bar, which paint at a bounded rate while the worker runs, show the job's last report.
TEST(ShredJob, EndsWithTheFinalStateOnScreenAndTheMainWindowActive) {
    TempFolder temp;
    const std::wstring folder = temp / L"Folder";
    MakeTestFolder(folder);
    for (int i = 0; i < 8; ++i) {
        WriteTestFile(folder + L"\\" + std::to_wstring(i) + L".bin", std::string(2048, 'z'));
    }
    WriteTestFile(temp / L"final.txt", "last of all");
    JobHarness job;
    job.AddRow(folder);
    job.AddRow(temp / L"final.txt");
    SetForegroundWindow(job.Main());
    ASSERT_EQ(job.Main(), GetActiveWindow());

    job.ShredNow();

    ExpectCleanEnd(job);
    EXPECT_FALSE(job.endedFromAnotherThread);
    EXPECT_EQ(job.Main(), GetActiveWindow());
    EXPECT_EQ(job.Main(), GetForegroundWindow());
    ASSERT_EQ(10, job.Steps());
    ExpectEveryNameStepped(job);
    const ShownPaint* name = job.LastPaint(false);
    ASSERT_NE(nullptr, name);
    EXPECT_EQ(job.events.size(), name->afterEvents) << "painted after the last report";
    EXPECT_TRUE(name->onScreen);
    EXPECT_EQ(L"final.txt", name->name);
    const ShownPaint* bar = job.LastPaint(true);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(job.events.size(), bar->afterEvents) << "painted after the last report";
    EXPECT_TRUE(bar->onScreen);
    EXPECT_EQ(10, bar->position);
}

// Files made after the count: more steps than the range, and the bar stays at its end.
TEST(ShredJob, MoreStepsThanCountedLeaveTheBarAtItsEnd) {
    TempFolder temp;
    const std::wstring folder = temp / L"Growing";
    MakeTestFolder(folder);
    WriteTestFile(folder + L"\\counted.txt", "counted");
    JobHarness job;
    job.AddRow(folder);
    job.onProgressShown = [&folder](HWND) {
        for (int i = 0; i < 3; ++i) {
            WriteTestFile(folder + L"\\late" + std::to_wstring(i) + L".txt", "late");
        }
    };

    job.ShredNow();

    ExpectCleanEnd(job);
    EXPECT_EQ(2, job.rangeHigh);
    EXPECT_EQ(5, job.Steps());
    const ShownPaint* bar = job.LastPaint(true);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(job.events.size(), bar->afterEvents);
    EXPECT_EQ(2, bar->position) << "the bar never starts over";
}

TEST(ShredJob, RowLongerThanMaxPathIsReadWhole) {
    // The row is just long enough not to fit a buffer of 260 characters.
    TempFolder temp;
    const std::wstring folder = temp / std::wstring(200 - temp.Path().size(), L'd');
    MakeTestFolder(folder);
    const std::wstring name = std::wstring(MAX_PATH - folder.size() - 4, L'f') + L".txt";
    const std::wstring file = folder + L"\\" + name;
    WriteTestFile(file, "far away");
    ASSERT_EQ(static_cast<std::size_t>(MAX_PATH + 1), file.size());
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

TEST(ShredJob, EscapeEnterAndTheirCommandsDoNotEndTheDialog) {
    TempFolder temp;
    for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"}) {
        WriteTestFile(temp / name, "data");
    }
    JobHarness job;
    for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"}) {
        job.AddRow(temp / name);
    }
    bool pressed = false;
    job.onName = [&pressed](HWND progress, const std::wstring&) {
        if (pressed) {
            return;
        }
        pressed = true;
        for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
            PostMessageW(progress, WM_KEYDOWN, key, 1);
            PostMessageW(progress, WM_KEYUP, key, 0xC0000001);
        }
        PostDialogButton(progress, IDCANCEL);
        PostDialogButton(progress, IDOK);
    };

    job.ShredNow();

    EXPECT_TRUE(pressed);
    ExpectCleanEnd(job);
    EXPECT_EQ((std::vector<std::wstring>{L"1.txt", L"2.txt", L"3.txt"}), job.ShownNames());
    ExpectEveryNameStepped(job);
    EXPECT_TRUE(ListedNames(temp.Path()).empty());
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

} // namespace
