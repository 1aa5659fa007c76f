// Jobs that cannot destroy everything: what stays on disk, what stays in the list, and the one
// report the user gets; close requests; a worker that cannot start; rows that are not full paths.
#include "engine/long_path.h"
#include "job/shred_job.h"
#include "job/worker_thread.h"
#include "job_harness.h"
#include "support/temp_folder.h"

namespace {

// Holds a file open with no sharing, as another program would.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
        EXPECT_NE(INVALID_HANDLE_VALUE, handle_) << "cannot lock, error " << GetLastError();
    }
    ~LockedFile() { CloseHandle(handle_); }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

private:
    HANDLE handle_;
};

void ExpectOneReport(const JobHarness& job, const std::wstring& text) {
    ASSERT_EQ(1u, job.reports.size());
    EXPECT_EQ(NotShreddedCaptionText, job.reports[0].box.caption);
    EXPECT_EQ(text, job.reports[0].box.text);
    EXPECT_EQ(std::vector<int>{IDOK}, job.reports[0].box.buttons);
    EXPECT_EQ(job.Main(), job.reports[0].owner);
}

TEST(ShredJobFailures, LockedFileStaysListedAndIsReported) {
    TempFolder temp;
    WriteTestFile(temp / L"a.txt", "a");
    WriteTestFile(temp / L"locked.txt", "still mine");
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
    EXPECT_EQ("still mine", ReadTestFile(temp / L"locked.txt"));
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

// The close arrives once the first file is open and before its first chunk: the pass stops
// there, and the file stays as it was.
TEST(ShredJobFailures, CloseWhileRunningStopsTheFileAtHandAndKeepsEveryRow) {
    TempFolder temp;
    for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"}) {
        WriteTestFile(temp / name, "untouched");
    }
    JobHarness job;
    for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"}) {
        job.AddRow(temp / name);
    }
    const std::vector<std::vector<std::wstring>> before = ListRows(job.List(), 3);
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
    EXPECT_EQ(before, ListRows(job.List(), 3));
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
    JobHarness job;
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
    WriteTestFile(temp / L"a.txt", "a");
    MakeTestFolder(temp / L"F");
    WriteTestFile(temp / L"F\\b.txt", "b");
    JobHarness job;
    job.AddRow(temp / L"a.txt");
    job.AddRow(temp / L"F");
    const std::vector<std::vector<std::wstring>> before = ListRows(job.List(), 3);
    job.onProgressShown = [](HWND progress) { PostMessageW(progress, WM_CLOSE, 0, 0); };

    job.ShredNow();

    EXPECT_TRUE(job.progressShown);
    EXPECT_EQ(3, job.rangeHigh);
    EXPECT_TRUE(job.events.empty());
    EXPECT_EQ("a", ReadTestFile(temp / L"a.txt"));
    EXPECT_EQ("b", ReadTestFile(temp / L"F\\b.txt"));
    EXPECT_EQ(before, ListRows(job.List(), 3));
    EXPECT_TRUE(job.reports.empty());
    EXPECT_TRUE(IsWindowEnabled(job.Main()));
}

HANDLE WINAPI RefuseToStart(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD,
                            LPDWORD) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

TEST(ShredJobFailures, WorkerThatCannotStartEndsTheJobWithNothingShredded) {
    TempFolder temp;
    WriteTestFile(temp / L"a.txt", "a");
    WriteTestFile(temp / L"b.txt", "b");
    JobHarness job;
    job.AddRow(temp / L"a.txt");
    job.AddRow(temp / L"b.txt");
    const std::vector<std::vector<std::wstring>> before = ListRows(job.List(), 3);
    StartThread = RefuseToStart;

    job.ShredNow();
    StartThread = CreateThread;

    EXPECT_TRUE(job.progressShown);
    EXPECT_TRUE(job.events.empty());
    EXPECT_EQ("a", ReadTestFile(temp / L"a.txt"));
    EXPECT_EQ("b", ReadTestFile(temp / L"b.txt"));
    EXPECT_EQ(before, ListRows(job.List(), 3));
    ExpectOneReport(job, L"2 items could not be shredded. They remain in the list.");
    EXPECT_TRUE(IsWindowEnabled(job.Main()));
}

TEST(ShredJobFailures, RowsThatAreNotFullPathsAreLeftAlone) {
    TempFolder temp;
    WriteTestFile(temp / L"rel.txt", "relative");
    WriteTestFile(temp / L"good.txt", "good");
    ASSERT_TRUE(SetCurrentDirectoryW(temp.Path().c_str()));
    JobHarness job;
    job.AddRawRow(L"rel.txt", L"rel.txt");
    job.AddRow(temp / L"good.txt");
    job.AddRawRow(L"C:rel.txt", L"C:rel.txt");
    job.AddRawRow(L"", L"");
    job.AddRawRow(L"rel.txt", temp.Path().substr(2) + L"\\rel.txt");
    job.AddRawRow(L"C:\\", L"C:\\");
    job.AddRawRow(L"server", L"\\\\server");
    job.AddRawRow(L"x", L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\x");
    const std::vector<std::vector<std::wstring>> before = ListRows(job.List(), 3);

    job.ShredNow();
    SetCurrentDirectoryW(L"C:\\");

    EXPECT_EQ(1, job.rangeHigh) << "rows left alone take no steps";
    EXPECT_EQ((std::vector<std::wstring>{L"good.txt"}), job.ShownNames());
    EXPECT_FALSE(PathExists(temp / L"good.txt"));
    EXPECT_EQ("relative", ReadTestFile(temp / L"rel.txt"));
    std::vector<std::vector<std::wstring>> expected = before;
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(expected, ListRows(job.List(), 3));
    ExpectOneReport(job, L"7 items could not be shredded. They remain in the list.");
}

// Whatever the list takes in through its own door, the job either shreds (a usable full path) or
// leaves alone and reports; and every usable full path the list holds is shredded.
TEST(ShredJobFailures, EveryRowTheListTakesIsShreddedOrLeftAloneAndReported) {
    TempFolder temp;
    const std::wstring extended = L"\\\\?\\" + temp.Path();
    WriteTestFile(temp / L"plain.txt", "plain");
    WriteTestFile(temp / L"extended.txt", "extended");
    WriteTestFile(extended + L"\\dot.", "dot");
    WriteTestFile(extended + L"\\space ", "space");
    MakeTestFolder(temp / L"Folder");
    WriteTestFile(temp / L"Folder\\inner.txt", "inner");
    JobHarness job;
    for (const std::wstring& path :
         {temp / L"plain.txt", extended + L"\\extended.txt", temp / L"dot.", temp / L"space ",
          temp / L"Folder", std::wstring(L"C:\\"), std::wstring(L"\\\\server"),
          std::wstring(L"\\\\server\\share"),
          std::wstring(L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\x")}) {
        job.AddRow(path);
    }
    const std::vector<std::wstring> taken = job.RowPaths();
    std::vector<std::wstring> refused;
    int usable = 0;
    for (const std::wstring& path : taken) {
        if (IsUsableFullPath(path)) {
            ++usable;
        } else {
            refused.push_back(path);
        }
    }
    ASSERT_EQ(5, usable) << "the list takes every usable full path";

    job.ShredNow();

    EXPECT_TRUE(ListedNames(temp.Path()).empty()) << "every usable row was shredded";
    EXPECT_EQ(refused, job.RowPaths());
    if (refused.empty()) {
        EXPECT_TRUE(job.reports.empty());
    } else {
        ExpectOneReport(job, NotShreddedMessage(static_cast<int>(refused.size())));
    }
}

} // namespace
