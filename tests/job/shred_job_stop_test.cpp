// Stopping a job inside a big file: a close request, and the session ending. The request arrives
// from the engine's file-system table right after the first chunk of the pass is written.
#include "engine/file_system.h"
#include "engine/overwrite_methods.h"
#include "job/job_record.h"
#include "job/shutdown_guard.h"
#include "job_harness.h"
#include "support/file_system_override.h"
#include "support/temp_folder.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace {

constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
// One chunk and a tail beyond it.
constexpr std::size_t TailSize = 4096;
constexpr std::size_t BigSize = OverwriteChunkSize + TailSize;

std::atomic<int> writes{0};
// What the first write asks of the progress dialog; set by each test.
void (*afterFirstWrite)(HWND progress) = nullptr;

BOOL WINAPI WriteThenAsk(HANDLE file, LPCVOID data, DWORD size, LPDWORD done,
                         LPOVERLAPPED overlapped) {
    const BOOL written = RealFileSystem.WriteFile(file, data, size, done, overlapped);
    if (++writes == 1 && afterFirstWrite) {
        afterFirstWrite(FindWindowW(L"#32770", ProgressCaption));
    }
    return written;
}

class StopInABigFile : public testing::Test {
protected:
    void SetUp() override {
        WriteTestFile(big, std::string(BigSize, 'B'));
        ASSERT_TRUE(SetFileAttributesW(big.c_str(), KeptAttributes));
        writes = 0;
        job.list.Check(OverwriteZeros);
        job.AddRow(big);
        FileSystem.WriteFile = WriteThenAsk;
    }
    void TearDown() override {
        afterFirstWrite = nullptr;
        SetFileAttributesW(big.c_str(), FILE_ATTRIBUTE_NORMAL);
    }

    // The file keeps its size, its attributes and every byte beyond the first chunk; its row stays
    // and is reported.
    void ExpectStoppedAfterOneChunk() {
        EXPECT_EQ(1, writes.load()) << "the stop is heeded before the next chunk";
        EXPECT_EQ(KeptAttributes, GetFileAttributesW(big.c_str()) & KeptAttributes);
        const std::string contents = ReadTestFile(big);
        ASSERT_EQ(BigSize, contents.size());
        EXPECT_EQ(std::string(TailSize, 'B'), contents.substr(OverwriteChunkSize));
        EXPECT_EQ(std::string(16, '\0'), contents.substr(0, 16));
        EXPECT_EQ(std::vector<std::wstring>{big}, job.RowPaths());
        ASSERT_EQ(1u, job.reports.size());
        EXPECT_EQ(L"1 item could not be shredded. It remains in the list.",
                  job.reports[0].box.text);
    }

    FileSystemOverride restoreAfterwards_;
    TempFolder temp;
    std::wstring big = temp / L"big.bin";
    StandInJob job;
};

// Alt+F4 is the one close request the dialog offers; the next job in the process runs in full.
TEST_F(StopInABigFile, CloseStopsWithinAChunkAndTheNextJobRunsInFull) {
    afterFirstWrite = [](HWND progress) { SendMessageW(progress, WM_CLOSE, 0, 0); };

    job.ShredNow();

    ExpectStoppedAfterOneChunk();

    afterFirstWrite = nullptr;
    job.reports.clear();
    WriteTestFile(temp / L"next.txt", "next job");
    job.AddRow(temp / L"next.txt");
    ASSERT_TRUE(SetFileAttributesW(big.c_str(), FILE_ATTRIBUTE_NORMAL));
    ASSERT_TRUE(DeleteFileW(big.c_str()));
    job.ShredNow();
    EXPECT_FALSE(PathExists(temp / L"next.txt"));
    EXPECT_EQ(std::vector<std::wstring>{big}, job.RowPaths()) << "only the old row is left";
    ASSERT_EQ(1u, job.reports.size());
    EXPECT_EQ(L"1 item could not be shredded. It remains in the list.", job.reports[0].box.text);
}

LRESULT queryAnswer = -1;
HWND reasonWindow = nullptr;
std::wstring blockReason;

// Wine keeps no reason and cannot give one back (no ShutdownBlockReasonQuery).
BOOL WINAPI RecordReason(HWND window, LPCWSTR reason) {
    reasonWindow = window;
    blockReason = reason;
    return ShutdownBlockReasonCreate(window, reason);
}

TEST_F(StopInABigFile, SessionEndIsRefusedWithAReasonAndEndingItStopsTheJob) {
    queryAnswer = -1;
    reasonWindow = nullptr;
    blockReason.clear();
    SetShutdownReason = RecordReason;
    afterFirstWrite = [](HWND progress) {
        queryAnswer = SendMessageW(progress, WM_QUERYENDSESSION, 0, 0);
        EXPECT_EQ(progress, reasonWindow) << "the reason stands on the dialog while it runs";
        // Windows sends this to the dialog's thread; waiting for the stop keeps the write order.
        PostMessageW(progress, WM_ENDSESSION, TRUE, 0);
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!CurrentJob.progress.StopRequested() && std::chrono::steady_clock::now() < limit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    };

    job.ShredNow();
    SetShutdownReason = ShutdownBlockReasonCreate;

    EXPECT_EQ(FALSE, queryAnswer) << "the session may not end while a file is half shredded";
    EXPECT_EQ(ShutdownBlockReasonText, blockReason);
    ExpectStoppedAfterOneChunk();
}

// A critical end cannot be refused: the job is asked to stop, and the answer is yes at once.
TEST_F(StopInABigFile, CriticalSessionEndIsAllowedAtOnceAndStopsTheJob) {
    queryAnswer = -1;
    afterFirstWrite = [](HWND progress) {
        queryAnswer = SendMessageW(progress, WM_QUERYENDSESSION, 0, ENDSESSION_CRITICAL);
        EXPECT_TRUE(CurrentJob.progress.StopRequested()) << "asked before the answer";
    };

    job.ShredNow();

    EXPECT_EQ(TRUE, queryAnswer);
    ExpectStoppedAfterOneChunk();
}

} // namespace
