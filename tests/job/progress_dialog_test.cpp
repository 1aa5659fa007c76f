// The progress dialog of a job: the range and the bar, what it shows when the job ends, keys and
// commands it ignores, and the close request (Alt+F4) heeded before, while and between items.
#include "job_harness.h"
#include "support/temp_folder.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

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
    StandInJob job;
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
    StandInJob job;
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

TEST(ShredJob, EscapeEnterAndTheirCommandsDoNotEndTheDialog) {
    TempFolder temp;
    for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"}) {
        WriteTestFile(temp / name, "data");
    }
    StandInJob job;
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

// The close arrives once the first file is open and before its first chunk: the pass stops
// there, and the file stays as it was.
TEST(ShredJobFailures, CloseWhileRunningStopsTheFileAtHandAndKeepsEveryRow) {
    TempFolder temp;
    for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"}) {
        WriteTestFile(temp / name, "untouched");
    }
    StandInJob job;
    for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"}) {
        job.AddRow(temp / name);
    }
    const std::vector<std::wstring> before = job.RowPaths();
    int closes = 0;
    job.onName = [&closes](HWND progress, const std::wstring&) {
        ++closes;
        // As the dialog manager delivers Alt+F4.
        SendMessageW(progress, WM_CLOSE, 0, 0);
    };

    job.ShredNow();

    EXPECT_EQ(1, closes);
    ASSERT_EQ(2u, job.events.size());
    EXPECT_EQ(L"1.txt", job.events[0].name);
    for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"}) {
        EXPECT_EQ("untouched", ReadTestFile(temp / name));
    }
    EXPECT_EQ(before, job.RowPaths());
    ExpectOneReport(job, L"1 item could not be shredded. It remains in the list.");
    EXPECT_TRUE(IsWindowEnabled(job.Main()));
}

TEST(ShredJobFailures, CloseInsideAFolderStopsAtTheFileAtHand) {
    TempFolder temp;
    const std::wstring folder = temp / L"Many";
    MakeTestFolder(folder);
    for (int i = 0; i < 6; ++i) {
        WriteTestFile(folder + L"\\" + std::to_wstring(i) + L".txt", "content");
    }
    WriteTestFile(temp / L"after.txt", "after");
    StandInJob job;
    job.AddRow(folder);
    job.AddRow(temp / L"after.txt");
    job.onName = [](HWND progress, const std::wstring&) { SendMessageW(progress, WM_CLOSE, 0, 0); };

    job.ShredNow();

    EXPECT_EQ(1u, job.ShownNames().size());
    EXPECT_EQ(1, job.Steps());
    EXPECT_EQ("after", ReadTestFile(temp / L"after.txt"));
    EXPECT_EQ((std::vector<std::wstring>{folder, temp / L"after.txt"}), job.RowPaths())
        << "a stopped folder is neither renamed nor removed";
    ASSERT_EQ(6u, ListedNames(folder).size());
    for (const std::wstring& name : ListedNames(folder)) {
        EXPECT_EQ("content", ReadTestFile(folder + L"\\" + name));
    }
    ExpectOneReport(job, L"1 item could not be shredded. It remains in the list.");
}

TEST(ShredJobFailures, CloseBeforeTheWorkerStartsShredsNothing) {
    TempFolder temp;
    MakeTestTree(temp.Path(), {{L"a.txt", "a"}, {L"F\\", ""}, {L"F\\b.txt", "b"}});
    StandInJob job;
    job.AddRow(temp / L"a.txt");
    job.AddRow(temp / L"F");
    const std::vector<std::wstring> before = job.RowPaths();
    job.onProgressShown = [](HWND progress) { PostMessageW(progress, WM_CLOSE, 0, 0); };

    job.ShredNow();

    EXPECT_TRUE(job.progressShown);
    EXPECT_EQ(3, job.rangeHigh);
    EXPECT_TRUE(job.events.empty());
    EXPECT_EQ("a", ReadTestFile(temp / L"a.txt"));
    EXPECT_EQ("b", ReadTestFile(temp / L"F\\b.txt"));
    EXPECT_EQ(before, job.RowPaths());
    EXPECT_TRUE(job.reports.empty());
    EXPECT_TRUE(IsWindowEnabled(job.Main()));
}

// A folder that lists 69,999 files that are not really there: 70,000 steps with itself.
constexpr int ListedFiles = 69999;
std::wstring bigFolderName;
int listedSoFar = 0;

bool IsBigFolder(HANDLE folder) {
    alignas(8) unsigned char buffer[sizeof(FILE_NAME_INFO) + 2048]{};
    auto* name = reinterpret_cast<FILE_NAME_INFO*>(buffer);
    if (!RealFileSystem.GetFileInformationByHandleEx(folder, FileNameInfo, name, sizeof(buffer))) {
        return false;
    }
    return std::wstring(name->FileName, name->FileNameLength / sizeof(wchar_t))
        .ends_with(bigFolderName);
}

// One made-up file per listing call.
BOOL WINAPI FakeListing(HANDLE folder, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
    const bool listing = kind == FileIdBothDirectoryRestartInfo || kind == FileIdBothDirectoryInfo;
    if (!listing || !IsBigFolder(folder)) {
        return RealFileSystem.GetFileInformationByHandleEx(folder, kind, info, size);
    }
    if (kind == FileIdBothDirectoryRestartInfo) {
        listedSoFar = 0;
    }
    if (listedSoFar >= ListedFiles) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    const std::wstring name = L"f" + std::to_wstring(listedSoFar++) + L".tmp";
    std::memset(info, 0, size);
    auto* entry = static_cast<FILE_ID_BOTH_DIR_INFO*>(info);
    entry->FileAttributes = FILE_ATTRIBUTE_NORMAL;
    entry->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    name.copy(entry->FileName, name.size());
    return TRUE;
}

// Walking all 70,000 entries would flood the shared wineserver for minutes; the range is set
// before the worker starts, and a few steps show the bar counting within it.
TEST_F(FileSystemSeam, SeventyThousandStepsGetTheirWholeRange) {
    TempFolder temp;
    const std::wstring folder = temp / L"Big";
    MakeTestFolder(folder);
    bigFolderName = L"\\Big";
    FileSystem.GetFileInformationByHandleEx = FakeListing;
    StandInJob job;
    job.AddRow(folder);
    int names = 0;
    job.onName = [&names](HWND progress, const std::wstring&) {
        if (++names == 3) {
            SendMessageW(progress, WM_CLOSE, 0, 0);
        }
    };

    job.ShredNow();

    EXPECT_EQ(0, job.rangeLow);
    EXPECT_EQ(ListedFiles + 1, job.rangeHigh) << "the range is never cut to 16 bits";
    EXPECT_EQ((std::vector<std::wstring>{L"f0.tmp", L"f1.tmp", L"f2.tmp"}), job.ShownNames());
    EXPECT_EQ(3, job.Steps());
    EXPECT_EQ(3, job.LastPosition());
    EXPECT_EQ(std::vector<std::wstring>{folder}, job.RowPaths());
}

} // namespace
