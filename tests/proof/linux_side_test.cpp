// Items that only the Linux side can make under Wine: symbolic links out of a chosen folder and up
// its tree, and names that Win32 would alter. Shredded end to end through the real job; what the
// links point at and the look-alike names must stay untouched.
#include "proof/proof_harness.h"
#include "support/linux_side.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace proof;

namespace {

class LinuxSideJob : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, job.Main());
        WriteTestFile(root / L"above.txt", "above the chosen items");
        MakeTestFolder(work);
        WriteTestFile(work + L"\\beside.txt", "beside the chosen items");
    }

    // Names with trailing dots and spaces are beyond the Windows-side clean-up.
    void TearDown() override { RunLinuxShell("rm -rf " + ShellQuote(UnixPathOf(root.Path()))); }

    // Runs a shell script in the test folder's Linux path.
    void Linux(const std::string& script) {
        ASSERT_TRUE(RunLinuxShell("cd " + ShellQuote(UnixPathOf(root.Path())) + " && " + script))
            << script;
    }

    TempFolder root;
    std::wstring work = root / L"work";
    WindowJob job;
};

TEST_F(LinuxSideJob, LinksAreNeverFollowedOutOfOrUpTheChosenTree) {
    MakeTestFolder(root / L"outside");
    MakeTestFolder(root / L"outside\\dir");
    WriteTestFile(root / L"outside\\target.txt", std::string(7000, 't'));
    WriteTestFile(root / L"outside\\dir\\inner.txt", "inside a folder outside");
    const std::wstring chosen = work + L"\\chosen";
    MakeTestFolder(chosen);
    MakeTestFolder(chosen + L"\\sub");
    WriteTestFile(chosen + L"\\own.txt", std::string(3000, 'o'));
    Linux("ln -s ../../outside/target.txt work/chosen/to-file && "
          "ln -s ../../outside/dir work/chosen/to-folder && "
          "ln -s .. work/chosen/to-parent && "
          "ln -s ../.. work/chosen/sub/to-chosen && "
          "ln -s \"$PWD\" work/chosen/sub/to-root-absolute && "
          "ln -s ../outside/target.txt work/file-link && "
          "ln -s ../outside/dir work/folder-link");
    const std::wstring fileLink = work + L"\\file-link";
    const std::wstring folderLink = work + L"\\folder-link";
    job.AddRow(chosen);
    job.AddRow(fileLink);
    job.AddRow(folderLink);
    ASSERT_EQ(3u, job.RowPaths().size());
    const GuardSnapshot before = SnapshotGuard(root.Path(), {chosen, fileLink, folderLink});
    ASSERT_EQ(1u, before.count(root / L"outside\\target.txt"));
    job.ShredNow();

    // The chosen folder's own file is destroyed; every target is whole and in place.
    EXPECT_FALSE(PathExists(chosen + L"\\own.txt"));
    EXPECT_EQ(std::string(7000, 't'), ReadTestFile(root / L"outside\\target.txt"));
    EXPECT_EQ("inside a folder outside", ReadTestFile(root / L"outside\\dir\\inner.txt"));
    // The links, as rows and inside the folder, are left whole: every row stays and is reported,
    // the folder's under the name it now has.
    const std::vector<std::wstring> rows = Plain(job.RowPaths());
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(work + L"\\", rows[0].substr(0, work.size() + 1));
    EXPECT_EQ((std::vector<std::wstring>{fileLink, folderLink}),
              (std::vector<std::wstring>{rows[1], rows[2]}));
    ExpectListMatchesDisk(job, L"3 items could not be shredded. They remain in the list.");
    EXPECT_EQ(before, SnapshotGuard(root.Path(), rows));
}

const std::vector<std::wstring> OddNames = {
    L"trail.", L"trail ", L"clef \U0001D11E smile \U0001F600.txt", L"dots.", L"space ",
};

class OddNamesJob : public LinuxSideJob {
protected:
    void SetUp() override {
        LinuxSideJob::SetUp();
        Linux("cd work && mkdir 'dots.' dots 'space ' && "
              "echo chosen > 'trail.' && echo chosen > 'trail ' && "
              "echo 'NOT chosen: the plain name' > trail && "
              "echo chosen > \"clef $(printf '\\360\\235\\204\\236') smile "
              "$(printf '\\360\\237\\230\\200').txt\" && "
              "echo chosen > 'dots./x.' && echo chosen > 'dots./y ' && "
              "echo 'NOT chosen' > dots/x && echo 'NOT chosen' > dots/y && "
              "echo chosen > 'space /inner.'");
        for (const std::wstring& name : OddNames) {
            chosen.push_back(work + L"\\" + name);
            ASSERT_TRUE(ExistsVerbatim(chosen.back())) << testing::PrintToString(chosen.back());
            job.AddRow(chosen.back());
        }
        ASSERT_EQ(chosen, job.RowPaths());
    }

    std::vector<std::wstring> chosen;
};

// Each name is shredded as itself; the look-alikes that Win32 would reach in its place ("trail",
// "dots") stay whole.
TEST_F(OddNamesJob, NamesWin32WouldAlterAreShreddedAsThemselves) {
    const GuardSnapshot before = SnapshotGuard(root.Path(), chosen);
    ASSERT_EQ(1u, before.count(work + L"\\trail"));
    ASSERT_EQ(1u, before.count(work + L"\\dots\\x"));
    job.ShredNow();

    for (const std::wstring& path : chosen) {
        EXPECT_FALSE(ExistsVerbatim(path)) << testing::PrintToString(path);
    }
    EXPECT_EQ("NOT chosen: the plain name\n", ReadTestFile(work + L"\\trail"));
    EXPECT_TRUE(job.RowPaths().empty());
    ExpectListMatchesDisk(job);
    EXPECT_EQ(before, SnapshotGuard(root.Path(), Plain(job.RowPaths())));
}

} // namespace
