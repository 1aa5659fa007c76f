// A job whose worker thread cannot be started: the dialog ends by itself, nothing is touched, and
// every row stays and is reported.
#include "job/worker_thread.h"
#include "job_harness.h"
#include "support/temp_folder.h"

namespace {

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

} // namespace
