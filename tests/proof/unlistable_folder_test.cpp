// A folder inside the chosen one that really cannot be listed: tools/residue-unlistable.sh makes
// it with mode 000 and runs this program under a wineserver without the capabilities that let
// root read anyway, naming the prepared folder in FERROLET_UNLISTABLE_ROOT; without that the case
// is skipped (the fault suite covers the same fault through the engine's file-system table).
#include "proof/proof_harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace proof;

namespace {

std::wstring UnlistableRoot() {
    wchar_t root[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"FERROLET_UNLISTABLE_ROOT", root, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(root, length) : std::wstring();
}

TEST(UnlistableFolderJob, ContentsOfAFolderThatCannotBeListedStayAndTheRowIsReported) {
    const std::wstring root = UnlistableRoot();
    if (root.empty()) {
        GTEST_SKIP() << "needs a folder without rights: run tools/residue-unlistable.sh (as root)";
    }
    const std::wstring chosen = root + L"\\work\\chosen";
    {
        // The fault must be real: listing the locked folder is refused.
        WIN32_FIND_DATAW entry{};
        FindHandle find(FindFirstFileW((chosen + L"\\locked\\*").c_str(), &entry));
        ASSERT_FALSE(find.Valid());
        ASSERT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    }
    WindowJob job;
    ASSERT_NE(nullptr, job.Main());
    job.AddRow(chosen);
    const GuardSnapshot before = SnapshotGuard(root, {chosen});
    ASSERT_EQ(3u, before.size());
    job.ShredNow();

    const std::vector<std::wstring> rows = Plain(job.RowPaths());
    ASSERT_EQ(1u, rows.size());
    EXPECT_TRUE(ExistsVerbatim(rows[0] + L"\\locked"));
    EXPECT_FALSE(ExistsVerbatim(rows[0] + L"\\a.txt"));
    EXPECT_FALSE(ExistsVerbatim(rows[0] + L"\\b.txt"));
    ExpectListMatchesDisk(job, L"1 item could not be shredded. It remains in the list.");
    EXPECT_EQ(before, SnapshotGuard(root, rows));
}

} // namespace
