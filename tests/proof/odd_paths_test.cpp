// Items that the platform itself makes awkward, shredded end to end through the real job: hard
// links with names outside the chosen items, and paths far beyond 260 characters.
#include "proof/proof_harness.h"
#include "support/linux_side.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace proof;

namespace {

class OddPathJob : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, job.Main());
        WriteTestFile(root / L"above.txt", "above the chosen items");
        MakeTestFolder(root / L"elsewhere");
        MakeTestFolder(work);
        WriteTestFile(work + L"\\beside.txt", "beside the chosen items");
    }

    // Paths past MAX_PATH are beyond the Windows-side clean-up.
    void TearDown() override { RunLinuxShell("rm -rf " + ShellQuote(UnixPathOf(root.Path()))); }

    TempFolder root;
    std::wstring work = root / L"work";
    WindowJob job;
};

TEST_F(OddPathJob, HardLinkedFilesAndTheirFoldersStayWholeAndListed) {
    const std::wstring file = work + L"\\linked.txt";
    const std::wstring alias = root / L"elsewhere\\alias.txt";
    const std::wstring folder = work + L"\\holder";
    const std::wstring inner = folder + L"\\inner.txt";
    const std::wstring innerAlias = root / L"elsewhere\\inner-alias.txt";
    WriteTestFile(file, std::string(9000, 'h'));
    ASSERT_TRUE(CreateHardLinkW(alias.c_str(), file.c_str(), nullptr));
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    MakeTestFolder(folder);
    WriteTestFile(inner, std::string(5000, 'i'));
    WriteTestFile(folder + L"\\own.txt", std::string(100, 'o'));
    ASSERT_TRUE(CreateHardLinkW(innerAlias.c_str(), inner.c_str(), nullptr));
    job.AddRow(file);
    job.AddRow(folder);
    const GuardSnapshot before = SnapshotGuard(root.Path(), {file, folder});
    ASSERT_EQ(1u, before.count(alias));
    job.ShredNow();

    // The data lives on under the other names, so nothing of it is destroyed: the file and the
    // folder that holds one stay, listed and reported.
    EXPECT_EQ(std::string(9000, 'h'), ReadTestFile(file));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY),
              GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(std::string(9000, 'h'), ReadTestFile(alias));
    EXPECT_EQ(std::string(5000, 'i'), ReadTestFile(innerAlias));
    const std::vector<std::wstring> rows = Plain(job.RowPaths());
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(file, rows[0]);
    EXPECT_EQ(std::string(5000, 'i'), ReadTestFile(rows[1] + L"\\inner.txt"));
    EXPECT_FALSE(PathExists(rows[1] + L"\\own.txt")) << "the folder's own files are shredded";
    ExpectListMatchesDisk(job, L"2 items could not be shredded. They remain in the list.");
    EXPECT_EQ(before, SnapshotGuard(root.Path(), {file, folder, rows[1]}));
}

// A chain of nested folders of 60-character names under parent, levels deep.
std::wstring MakeChain(const std::wstring& parent, const std::wstring& name, int levels) {
    std::wstring path = parent + L"\\" + name;
    MakeFolderVerbatim(path);
    for (int level = 0; level < levels; ++level) {
        path += L"\\" + std::wstring(60, L'n') + std::to_wstring(level);
        MakeFolderVerbatim(path);
    }
    return path;
}

// A folder row whose contents lie past 400 characters, and a file row of more than 500.
TEST_F(OddPathJob, RowsWhoseItemsLieFarBeyond260CharactersAreShreddedWhole) {
    const std::wstring top = work + L"\\chain";
    const std::wstring deep = MakeChain(work, L"chain", 6);
    WriteFileVerbatim(deep + L"\\deep.txt", std::string(3000, 'd'));
    WriteFileVerbatim(deep + L"\\" + std::wstring(200, L'f') + L".txt", std::string(100, 'f'));
    const std::wstring folder = MakeChain(work, L"files", 6);
    const std::wstring file = folder + L"\\" + std::wstring(150, L'r') + L".txt";
    WriteFileVerbatim(file, std::string(2000, 'r'));
    // A sibling chain with long paths of its own must stay.
    const std::wstring kept = MakeChain(work, L"kept", 6) + L"\\keep.txt";
    WriteFileVerbatim(kept, std::string(3000, 'k'));

    job.AddRow(top);
    job.AddRow(file);
    ASSERT_EQ((std::vector<std::wstring>{top, file}), job.RowPaths());
    const GuardSnapshot before = SnapshotGuard(root.Path(), {top, file});
    ASSERT_EQ(1u, before.count(kept));
    job.ShredNow();

    EXPECT_FALSE(ExistsVerbatim(top));
    EXPECT_FALSE(ExistsVerbatim(file));
    EXPECT_TRUE(ExistsVerbatim(folder));
    EXPECT_TRUE(job.RowPaths().empty());
    ExpectListMatchesDisk(job);
    EXPECT_EQ(before, SnapshotGuard(root.Path(), {}));
}

} // namespace
