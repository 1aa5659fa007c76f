// Jobs observed through the engine's file-system table: the bytes a method writes, a delete
// that fails, and a folder far larger than a 16-bit progress range.
#include "engine/file_system.h"
#include "job_harness.h"
#include "support/file_system_override.h"
#include "support/temp_folder.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <stdexcept>

namespace {

class FileSystemSeam : public ::testing::Test {
private:
    FileSystemOverride restoreAfterwards_;
};

std::mutex writtenMutex;
std::vector<std::uint8_t> written;

BOOL WINAPI RecordingWriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD done,
                               LPOVERLAPPED overlapped) {
    {
        const std::lock_guard<std::mutex> lock(writtenMutex);
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        written.insert(written.end(), bytes, bytes + size);
    }
    return RealFileSystem.WriteFile(file, data, size, done, overlapped);
}

std::size_t CountNonZero(const std::vector<std::uint8_t>& bytes) {
    std::size_t count = 0;
    for (std::uint8_t byte : bytes) {
        count += byte != 0 ? 1 : 0;
    }
    return count;
}

TEST_F(FileSystemSeam, MethodIsReadOnceWhenTheWorkerStarts) {
    TempFolder temp;
    const std::string contents(8192, '\xAA');
    WriteTestFile(temp / L"first.bin", contents);
    WriteTestFile(temp / L"second.bin", contents);
    written.clear();
    FileSystem.WriteFile = RecordingWriteFile;
    JobHarness job;
    job.AddRow(temp / L"first.bin");
    job.AddRow(temp / L"second.bin");
    job.CheckMethod(IDC_METHOD_ZEROS);
    // A method checked once the job runs must not reach this job.
    job.onName = [&job](HWND, const std::wstring&) { job.CheckMethod(IDC_METHOD_GUTMANN); };

    job.ShredNow();

    EXPECT_FALSE(PathExists(temp / L"first.bin"));
    EXPECT_FALSE(PathExists(temp / L"second.bin"));
    EXPECT_EQ(2 * contents.size(), written.size()) << "one pass over each file, not 35";
    EXPECT_EQ(0u, CountNonZero(written));
    EXPECT_TRUE(job.reports.empty());
}

TEST_F(FileSystemSeam, RandomDataIsTheMethodAtStart) {
    TempFolder temp;
    const std::string contents(8192, '\0');
    WriteTestFile(temp / L"zeros.bin", contents);
    written.clear();
    FileSystem.WriteFile = RecordingWriteFile;
    JobHarness job;
    job.AddRow(temp / L"zeros.bin");

    job.ShredNow();

    EXPECT_FALSE(PathExists(temp / L"zeros.bin"));
    ASSERT_EQ(contents.size(), written.size());
    EXPECT_GT(CountNonZero(written), contents.size() / 2);
}

BOOL RefuseDelete(HANDLE) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

TEST_F(FileSystemSeam, FileLeftUnderARandomNameIsListedUnderThatName) {
    TempFolder temp;
    WriteTestFile(temp / L"report.doc", "quarterly figures");
    FileSystem.DeleteByHandle = RefuseDelete;
    JobHarness job;
    job.AddRow(temp / L"report.doc");

    job.ShredNow();
    FileSystem = RealFileSystem;

    EXPECT_FALSE(PathExists(temp / L"report.doc"));
    const std::vector<std::wstring> paths = job.RowPaths();
    ASSERT_EQ(1u, paths.size());
    const std::wstring name = paths[0].substr(paths[0].find_last_of(L'\\') + 1);
    EXPECT_EQ(temp.Path() + L"\\" + name, paths[0]);
    EXPECT_EQ(13u, name.size()) << "the file stays under its last random name";
    EXPECT_EQ(std::vector<std::wstring>{name}, job.RowNames());
    EXPECT_EQ("", ReadTestFile(paths[0])) << "overwritten and cut to nothing before the delete";
    ASSERT_EQ(1u, job.reports.size());
    EXPECT_EQ(L"1 item could not be shredded. It remains in the list.", job.reports[0].box.text);
}

std::atomic<bool> chunkThrows{false};

void* ThrowingAllocateChunk(std::size_t size) {
    if (chunkThrows) {
        throw std::runtime_error("no chunk");
    }
    return RealFileSystem.AllocateChunk(size);
}

// The engine throws while shredding the second file of a folder: the worker goes no further, and
// every row is judged all the same (a row reached by what is on disk, a row not reached stays).
TEST_F(FileSystemSeam, FailureEscapingTheEngineLeavesTheListReconciled) {
    TempFolder temp;
    const std::wstring folder = temp / L"Folder";
    MakeTestFolder(folder);
    for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"}) {
        WriteTestFile(folder + L"\\" + name, "inside");
    }
    WriteTestFile(temp / L"before.txt", "before");
    WriteTestFile(temp / L"after.txt", "after");
    JobHarness job;
    job.AddRow(temp / L"before.txt");
    job.AddRow(folder);
    job.AddRow(temp / L"after.txt");
    chunkThrows = false;
    FileSystem.AllocateChunk = ThrowingAllocateChunk;
    int names = 0;
    job.onName = [&names](HWND, const std::wstring&) { chunkThrows = ++names == 3; };

    job.ShredNow();
    chunkThrows = false;

    EXPECT_EQ(3u, job.ShownNames().size());
    EXPECT_EQ(2, job.Steps()) << "before.txt and the folder's first file";
    EXPECT_FALSE(PathExists(temp / L"before.txt"));
    EXPECT_EQ(2u, ListedNames(folder).size()) << "one file of the folder was destroyed";
    EXPECT_EQ("after", ReadTestFile(temp / L"after.txt"));
    EXPECT_EQ((std::vector<std::wstring>{folder, temp / L"after.txt"}), job.RowPaths());
    EXPECT_EQ((std::vector<std::wstring>{L"Folder", L"after.txt"}), job.RowNames());
    ASSERT_EQ(1u, job.reports.size());
    EXPECT_EQ(L"2 items could not be shredded. They remain in the list.", job.reports[0].box.text);
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
    JobHarness job;
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
    EXPECT_TRUE(PathExists(folder)) << "a cancelled folder is neither renamed nor removed";
    EXPECT_EQ(std::vector<std::wstring>{folder}, job.RowPaths());
}

} // namespace
