#include "engine/fill_volume.h"
#include "engine/free_space_wipe.h"
#include "engine/leftover_fill.h"
#include "support/file_system_override.h"
#include "support/progress_recorder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <winioctl.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace {

constexpr std::uint64_t Cluster = 4096;
constexpr DWORD RecordBytes = 1024;
// What a small file's record holds besides its data.
constexpr std::uint64_t RecordOverhead = 296;

// A volume of free clusters in the file-system table: the fill files are real (made in a test
// folder), their data is only counted. A write that grows a file past the free space fails as
// Windows fails an unbuffered one: disk full, nothing written.
class StandInVolume {
public:
    struct Write {
        HANDLE file;
        std::uint64_t offset;
        std::uint64_t bytes;
        std::uint8_t first; // the first byte written
    };

    explicit StandInVolume(std::uint64_t free) : free_(free) {
        active_ = this;
        FileSystem.GetDiskFreeSpaceW = [](LPCWSTR, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                                          DWORD*, DWORD*) -> BOOL {
            *bytesPerSector = 512;
            *sectorsPerCluster = Cluster / 512;
            return TRUE;
        };
        FileSystem.GetVolumeInformationW = [](LPCWSTR, LPWSTR, DWORD, DWORD*, DWORD*, DWORD*,
                                              LPWSTR name, DWORD size) -> BOOL {
            return wcscpy_s(name, size, active_->tableRecords > 0 ? L"NTFS" : L"FAT32") == 0;
        };
        FileSystem.DeviceIoControl = [](HANDLE, DWORD code, LPVOID, DWORD, LPVOID out, DWORD size,
                                        DWORD* returned, LPOVERLAPPED) -> BOOL {
            if (code != FSCTL_GET_NTFS_VOLUME_DATA || size < sizeof(NTFS_VOLUME_DATA_BUFFER)) {
                SetLastError(ERROR_INVALID_FUNCTION);
                return FALSE;
            }
            auto* data = static_cast<NTFS_VOLUME_DATA_BUFFER*>(out);
            *data = NTFS_VOLUME_DATA_BUFFER{};
            data->BytesPerFileRecordSegment = RecordBytes;
            const std::uint64_t grown = active_->Resident() >= active_->growsAfter ? 1 : 0;
            data->MftValidDataLength.QuadPart = (active_->tableRecords + grown) * RecordBytes;
            *returned = sizeof(*data);
            return TRUE;
        };
        FileSystem.GetDiskFreeSpaceExW = [](LPCWSTR, ULARGE_INTEGER* available, ULARGE_INTEGER*,
                                            ULARGE_INTEGER* free) -> BOOL {
            available->QuadPart = free->QuadPart = active_->Free() + active_->shownExtra;
            return TRUE;
        };
        FileSystem.WriteFile = [](HANDLE file, LPCVOID data, DWORD size, DWORD* written,
                                  LPOVERLAPPED) -> BOOL {
            return active_->Written(file, data, size, written);
        };
        FileSystem.SetFilePointer = [](HANDLE file, LONG low, LONG* high, DWORD) -> DWORD {
            active_->files_[file].position =
                (high ? static_cast<std::uint64_t>(*high) << 32 : 0) | static_cast<DWORD>(low);
            return static_cast<DWORD>(low);
        };
        FileSystem.GetFileSizeEx = [](HANDLE file, LARGE_INTEGER* size) -> BOOL {
            size->QuadPart = static_cast<LONGLONG>(active_->files_[file].size);
            return TRUE;
        };
        FileSystem.SetEndOfFile = [](HANDLE file) -> BOOL {
            active_->files_[file].size = active_->files_[file].position;
            return TRUE;
        };
    }
    ~StandInVolume() { active_ = nullptr; }

    std::uint64_t Free() const {
        std::uint64_t held = 0;
        for (const auto& [handle, file] : files_) {
            held += file.resident ? 0 : (file.size + Cluster - 1) / Cluster * Cluster;
        }
        return held > free_ ? 0 : free_ - held;
    }

    // The files in the order the fill wrote to them first.
    std::vector<HANDLE> Files() const {
        std::vector<HANDLE> order;
        for (const Write& write : writes) {
            if (std::find(order.begin(), order.end(), write.file) == order.end()) {
                order.push_back(write.file);
            }
        }
        return order;
    }

    // Files whose data lives in their table record.
    std::size_t Resident() const {
        return std::count_if(files_.begin(), files_.end(),
                             [](const auto& entry) { return entry.second.resident; });
    }

    std::vector<Write> writes;
    std::uint64_t shownExtra = 0; // free space shown beyond what there is
    // NTFS, when not 0: the file table's records, of RecordBytes each; a new file's data that
    // fits in its record needs no cluster. The table grows by one record once growsAfter files
    // live in theirs.
    std::uint64_t tableRecords = 0;
    std::size_t growsAfter = SIZE_MAX;
    // Called before each write; returning false fails it with ERROR_WRITE_FAULT.
    std::function<bool(const Write&)> beforeWrite;

private:
    struct File {
        std::uint64_t position = 0;
        std::uint64_t size = 0;
        bool resident = false;
    };

    BOOL Written(HANDLE handle, LPCVOID data, DWORD size, DWORD* written) {
        File& file = files_[handle];
        const Write write{handle, file.position, size, *static_cast<const std::uint8_t*>(data)};
        *written = 0;
        if (beforeWrite && !beforeWrite(write)) {
            SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        }
        const std::uint64_t end = file.position + size;
        file.resident = file.resident ||
                        (tableRecords > 0 && file.size == 0 && end <= RecordBytes - RecordOverhead);
        if (!file.resident && end > file.size &&
            (end - file.size + Cluster - 1) / Cluster * Cluster > Free()) {
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        writes.push_back(write);
        file.size = std::max(file.size, end);
        file.position = end;
        *written = size;
        return TRUE;
    }

    std::uint64_t free_;
    std::map<HANDLE, File> files_;
    static inline StandInVolume* active_ = nullptr;
};

// Counts the bytes the wipe reports and asks to stop when a test says so.
class WipeProgress final : public ShredProgress {
public:
    void ShowName(const std::wstring&) override { ADD_FAILURE() << "no name is shown"; }
    void Step() override {}
    bool StopRequested() const override { return stop; }
    void BytesWritten(std::uint64_t bytes) override { written += bytes; }
    std::uint64_t written = 0;
    bool stop = false;
};

struct FileWrites {
    std::uint64_t length = 0;               // how far the first pass grew it
    std::vector<std::uint64_t> passLengths; // what each later pass wrote from byte 0
};

// The writes of one file, split into passes where a write starts again at byte 0.
FileWrites WritesOf(const StandInVolume& volume, HANDLE file) {
    FileWrites found;
    bool first = true;
    for (const auto& write : volume.writes) {
        if (write.file != file) {
            continue;
        }
        if (write.offset == 0 && !(first && found.length == 0)) {
            first = false;
            found.passLengths.push_back(0);
        }
        (first ? found.length : found.passLengths.back()) += write.bytes;
    }
    return found;
}

bool FillFolderIn(const TempFolder& root) {
    return PathExists(root / FillFolderName);
}

TEST(WipeFreeSpace, DiskFullInTheFirstPassEndsGrowthAndTheOtherPassesRewriteThatLength) {
    struct Row {
        const char* name;
        std::uint64_t free;
        std::uint64_t shownExtra;
    };
    const Row rows[] = {
        {"the volume shows what it holds", 37 * Cluster, 0},
        {"the volume shows more than it holds", 37 * Cluster, 5 * Cluster},
        {"the volume shows far more", 37 * Cluster, OverwriteChunkSize},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder root;
        FileSystemOverride restore;
        StandInVolume volume(row.free);
        volume.shownExtra = row.shownExtra;
        WipeProgress progress;
        EXPECT_EQ(FreeSpaceWipeResult::Wiped, WipeFreeSpace(root.Path(), OverwriteDod3, progress));
        const std::vector<HANDLE> files = volume.Files();
        ASSERT_EQ(1u, files.size());
        const FileWrites writes = WritesOf(volume, files[0]);
        EXPECT_EQ(row.free, writes.length) << "every free cluster, and no more";
        EXPECT_EQ((std::vector<std::uint64_t>{row.free, row.free}), writes.passLengths);
        EXPECT_EQ(3 * row.free, progress.written);
        EXPECT_FALSE(FillFolderIn(root));
        EXPECT_EQ(row.free, volume.Free()) << "all the space given back";
    }
}

TEST(WipeFreeSpace, EachFileTakesAtMostTheCapAndEveryPassBeforeTheNextIsMade) {
    TempFolder root;
    FileSystemOverride restore;
    StandInVolume volume(FillFileBytes + 3 * Cluster);
    WipeProgress progress;
    EXPECT_EQ(FreeSpaceWipeResult::Wiped, WipeFreeSpace(root.Path(), OverwriteDod7, progress));
    const std::vector<HANDLE> files = volume.Files();
    ASSERT_EQ(2u, files.size());
    EXPECT_EQ(FillFileBytes, WritesOf(volume, files[0]).length);
    EXPECT_EQ(3 * Cluster, WritesOf(volume, files[1]).length);
    EXPECT_EQ(6u, WritesOf(volume, files[0]).passLengths.size());
    std::size_t lastOfFirst = 0;
    for (std::size_t i = 0; i < volume.writes.size(); ++i) {
        lastOfFirst = volume.writes[i].file == files[0] ? i : lastOfFirst;
    }
    EXPECT_EQ(files[1], volume.writes[lastOfFirst + 1].file) << "the first file is done first";
    EXPECT_EQ(FillFileBytes + 3 * Cluster, volume.Free());
}

TEST(WipeFreeSpace, FailedWriteOrStopGivesEverythingBack) {
    constexpr int Never = -1;
    struct Row {
        const char* name;
        int failOn; // the first write of a pass of this byte fails
        int stopOn; // the stop is asked for while the first write of a pass of this byte runs
        FreeSpaceWipeResult result;
        std::size_t writes; // made in all
    };
    const Row rows[] = {
        {"a write of the second pass fails", 0xFF, Never, FreeSpaceWipeResult::Failed, 2},
        {"a stop within a chunk of the first pass", Never, 0x00, FreeSpaceWipeResult::Stopped, 1},
        {"a stop within a chunk of the second pass", Never, 0xFF, FreeSpaceWipeResult::Stopped, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder root;
        FileSystemOverride restore;
        StandInVolume volume(OverwriteChunkSize + 8 * Cluster);
        WipeProgress progress;
        volume.beforeWrite = [&](const StandInVolume::Write& write) {
            progress.stop = progress.stop || write.first == row.stopOn;
            return write.first != row.failOn;
        };
        EXPECT_EQ(row.result, WipeFreeSpace(root.Path(), OverwriteDod3, progress));
        if (row.failOn != Never) {
            EXPECT_EQ(static_cast<DWORD>(ERROR_WRITE_FAULT), GetLastError());
        }
        EXPECT_EQ(row.writes, volume.writes.size());
        EXPECT_FALSE(FillFolderIn(root));
        EXPECT_EQ(OverwriteChunkSize + 8 * Cluster, volume.Free()) << "all the space given back";
    }
}

// On NTFS, once no cluster is left, small files fill free table records, each taking every pass,
// until the table grows (the record came from free space) or as many were taken as it had.
TEST(WipeFreeSpace, TableRecordsAreFilledUntilTheTableGrowsOrAsManyAsItHad) {
    struct Row {
        const char* name;
        std::uint64_t tableRecords;
        std::size_t growsAfter;
        std::size_t recordFiles;
    };
    const Row rows[] = {
        {"the table grows after the third", 100, 3, 3},
        {"the table never grows", 5, SIZE_MAX, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder root;
        FileSystemOverride restore;
        StandInVolume volume(3 * Cluster);
        volume.tableRecords = row.tableRecords;
        volume.growsAfter = row.growsAfter;
        WipeProgress progress;
        EXPECT_EQ(FreeSpaceWipeResult::Wiped, WipeFreeSpace(root.Path(), OverwriteDod3, progress));
        const std::vector<HANDLE> files = volume.Files();
        ASSERT_EQ(1 + row.recordFiles, files.size());
        for (std::size_t i = 1; i < files.size(); ++i) {
            const FileWrites writes = WritesOf(volume, files[i]);
            EXPECT_EQ(RecordBytes - RecordOverhead, writes.length);
            EXPECT_EQ((std::vector<std::uint64_t>(2, writes.length)), writes.passLengths);
        }
        EXPECT_FALSE(FillFolderIn(root));
        EXPECT_EQ(3 * Cluster, volume.Free());
    }
}

TEST(RemoveLeftoverFillFolder, RemovesOnlyAFolderOfPlainFillFiles) {
    struct Row {
        const char* name;
        TestTree inFolder;
        bool hardLink; // F0000001 gets a second name outside the folder
        bool removed;
    };
    const Row rows[] = {
        {"fill files only", {{L"F0000001", "x"}, {L"F0000002", ""}}, false, true},
        {"empty", {}, false, true},
        {"a file of another name", {{L"F0000001", "x"}, {L"notes.txt", "mine"}}, false, false},
        {"a folder of a fill file's name", {{L"F0000001\\", ""}}, false, false},
        {"a fill file with a second link", {{L"F0000001", "x"}}, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder root;
        const std::wstring folder = root / FillFolderName;
        MakeTestFolder(folder);
        MakeTestTree(folder, row.inFolder);
        if (row.hardLink) {
            ASSERT_TRUE(CreateHardLinkW((root / L"other").c_str(), (folder + L"\\F0000001").c_str(),
                                        nullptr));
        }
        std::vector<std::wstring> leftAlone;
        RemoveLeftoverFillFolder(root.Path() + L"\\", leftAlone);
        EXPECT_EQ(!row.removed, PathExists(folder));
        EXPECT_EQ(row.removed ? std::vector<std::wstring>{}
                              : std::vector<std::wstring>{root.Path() + L"\\" + FillFolderName},
                  leftAlone);
        if (!row.removed && !row.inFolder.empty()) {
            EXPECT_TRUE(PathExists(folder + L"\\" + row.inFolder.front().first))
                << "nothing in a look-alike is touched";
        }
    }
}

} // namespace
