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
    MakeTestTree(temp.Path(), {{L"a.txt", "a"}, {L"b.txt", "b"}});
    StandInJob job;
    job.AddRow(temp / L"a.txt");
    job.AddRow(temp / L"b.txt");
    const std::vector<std::wstring> before = job.RowPaths();
    StartThread = RefuseToStart;

    job.ShredNow();
    StartThread = CreateThread;

    EXPECT_TRUE(job.progressShown);
    EXPECT_TRUE(job.events.empty());
    EXPECT_EQ("a", ReadTestFile(temp / L"a.txt"));
    EXPECT_EQ("b", ReadTestFile(temp / L"b.txt"));
    EXPECT_EQ(before, job.RowPaths());
    ExpectOneReport(job, L"2 items could not be shredded. They remain in the list.");
    EXPECT_TRUE(IsWindowEnabled(job.Main()));
}

} // namespace
