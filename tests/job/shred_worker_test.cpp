// The worker, observed through the engine's file-system table: the method it reads, the bytes it
// writes, deletes that fail, and a failure that escapes the engine.
#include "job_harness.h"
#include "support/temp_folder.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <stdexcept>

namespace {

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
    StandInJob job;
    job.AddRow(temp / L"first.bin");
    job.AddRow(temp / L"second.bin");
    job.list.Check(OverwriteZeros);
    // A method checked once the job runs must not reach this job.
    job.onName = [&job](HWND, const std::wstring&) { job.list.Check(OverwriteGutmann); };

    job.ShredNow();

    EXPECT_FALSE(PathExists(temp / L"first.bin"));
    EXPECT_FALSE(PathExists(temp / L"second.bin"));
    EXPECT_EQ(2 * contents.size(), written.size()) << "one pass over each file, not 35";
    EXPECT_EQ(0u, CountNonZero(written));
    EXPECT_TRUE(job.reports.empty());
}

// As on FAT and exFAT, where an id derives from where the item's name stands: the renames before
// the delete gave the file another id.
std::atomic<bool> idsMoved{false};

BOOL RefuseDelete(HANDLE) {
    idsMoved = true;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

BOOL WINAPI MovedIds(HANDLE item, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
    const BOOL read = RealFileSystem.GetFileInformationByHandleEx(item, kind, info, size);
    if (read && kind == static_cast<FILE_INFO_BY_HANDLE_CLASS>(18) && idsMoved) {
        static_cast<BYTE*>(info)[sizeof(ULONGLONG)] ^= 1; // the file id's first byte
    }
    return read;
}

// The next job finds it by its current path and id, even where the renames gave it another id.
TEST_F(FileSystemSeam, FileLeftUnderARandomNameIsListedUnderThatName) {
    TempFolder temp;
    WriteTestFile(temp / L"report.doc", "quarterly figures");
    FileSystem.DeleteByHandle = RefuseDelete;
    idsMoved = false;
    FileSystem.GetFileInformationByHandleEx = MovedIds;
    StandInJob job;
    job.AddRow(temp / L"report.doc");

    job.ShredNow();

    EXPECT_FALSE(PathExists(temp / L"report.doc"));
    const std::vector<std::wstring> paths = job.RowPaths();
    ASSERT_EQ(1u, paths.size());
    const std::wstring name = paths[0].substr(paths[0].find_last_of(L'\\') + 1);
    EXPECT_EQ(temp.Path() + L"\\" + name, paths[0]);
    EXPECT_EQ(13u, name.size()) << "the file stays under its last random name";
    EXPECT_EQ("", ReadTestFile(paths[0])) << "overwritten and cut to nothing before the delete";
    ASSERT_EQ(1u, job.reports.size());
    EXPECT_EQ(L"1 item could not be shredded. It remains in the list.", job.reports[0].box.text);

    FileSystem.DeleteByHandle = RealFileSystem.DeleteByHandle;
    job.ShredNow();
    EXPECT_TRUE(job.RowPaths().empty());
    EXPECT_FALSE(PathExists(paths[0]));
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
    MakeTestTree(temp.Path(), {{L"Folder\\", ""},
                               {L"Folder\\1.txt", "inside"},
                               {L"Folder\\2.txt", "inside"},
                               {L"Folder\\3.txt", "inside"},
                               {L"before.txt", "before"},
                               {L"after.txt", "after"}});
    StandInJob job;
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
    ASSERT_EQ(1u, job.reports.size());
    EXPECT_EQ(L"2 items could not be shredded. They remain in the list.", job.reports[0].box.text);
    EXPECT_TRUE(IsWindowEnabled(job.Main()));
}

} // namespace
