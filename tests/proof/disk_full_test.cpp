// A disk that fills up during an overwrite. tools/residue-disk-full.sh makes a tiny ext4 image
// that is full but for a sparse file, maps it as a drive and names it in FERROLET_DISK_FULL_ROOT;
// without that the case is skipped, since only a real full disk gives the real error.
#include "proof/proof_harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace proof;

namespace {

std::wstring DiskFullRoot() {
    wchar_t root[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"FERROLET_DISK_FULL_ROOT", root, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(root, length) : std::wstring();
}

long long SizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST(DiskFullJob, FileThatCannotBeOverwrittenStaysWholeListedAndReported) {
    std::wstring root = DiskFullRoot();
    if (root.empty()) {
        GTEST_SKIP() << "needs a full disk: run tools/residue-disk-full.sh BUILD_FOLDER (as root)";
    }
    if (root.back() == L'\\') {
        root.pop_back();
    }
    const std::wstring sparse = root + L"\\sparse.bin";
    const long long size = SizeOf(sparse);
    ASSERT_GT(size, 0);
    {
        // The disk must really be full: writing into the sparse file's hole fails as it will
        // in the overwrite.
        FileHandle probe(CreateFileW(sparse.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(probe.Valid());
        const std::vector<char> block(1 << 20, 0);
        DWORD written = 0;
        ASSERT_FALSE(WriteFile(probe.Get(), block.data(), static_cast<DWORD>(block.size()),
                               &written, nullptr));
        ASSERT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), GetLastError());
    }
    WindowJob job;
    ASSERT_NE(nullptr, job.Main());
    for (const int method : {IDC_METHOD_ZEROS, IDC_METHOD_GUTMANN}) {
        job.CheckMethod(method);
        job.AddRow(sparse);
        const GuardSnapshot before = SnapshotGuard(root, {sparse});
        ASSERT_GE(before.size(), 3u);
        job.ShredNow();

        // Not truncated, not renamed, not deleted: the user is told it is still there.
        EXPECT_EQ(size, SizeOf(sparse));
        EXPECT_EQ(std::vector<std::wstring>{sparse}, Plain(job.RowPaths()));
        ExpectListMatchesDisk(job, L"1 item could not be shredded. It remains in the list.");
        EXPECT_EQ(before, SnapshotGuard(root, Plain(job.RowPaths())));
        SendMessageW(job.List(), LVM_DELETEALLITEMS, 0, 0);
        job.reports.clear();
    }
}

} // namespace
