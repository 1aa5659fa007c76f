#include "engine/long_path.h"
#include "mainwindow/file_system_probe.h"
#include "mainwindow/shred_list.h"
#include "mainwindow/shred_row_vector.h"
#include "mainwindow/status_bar.h"
#include "support/linux_side.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Answers the file system's two questions from a table; a path missing from it is unreadable,
// and a file without a size cannot be opened.
class TableProbe final : public PathProbe {
public:
    std::map<std::wstring, PathKind> kinds;
    std::map<std::wstring, long long> sizes;

    PathKind KindOf(const std::wstring& path) const override {
        const auto found = kinds.find(path);
        return found == kinds.end() ? PathKind::Unreadable : found->second;
    }
    std::optional<long long> FileSize(const std::wstring& path) const override {
        const auto found = sizes.find(path);
        if (found == sizes.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    void AddFile(const std::wstring& path, long long size) {
        kinds[path] = PathKind::File;
        sizes[path] = size;
    }
};

ShredRow Row(const std::wstring& name, const std::wstring& path, const std::wstring& size) {
    return ShredRow{name, path, size, false};
}

TEST(ShredListSizeText, RoundsToTheNearestKilobyteWithAnyNonEmptyFileAtLeastOne) {
    const std::pair<long long, const wchar_t*> cases[] = {
        {0, L"0 KB"},
        {1, L"1 KB"},
        {1023, L"1 KB"},
        {1024, L"1 KB"},
        {1535, L"1 KB"},
        {1536, L"2 KB"},
        {2559, L"2 KB"},
        {2560, L"3 KB"},
        {1048576, L"1024 KB"},
        {5368709120LL, L"5242880 KB"},
        {9223372036854775807LL, L"9007199254740992 KB"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(text, SizeText(bytes)) << bytes << " bytes";
    }
}

// The list takes a path exactly when the engine does, so every row is one the job acts on. The
// first three were once rows that the job then refused.
TEST(ShredListRows, TakeExactlyThePathsTheEngineTakes) {
    const std::pair<const wchar_t*, bool> paths[] = {
        {L"C:\\", false},
        {L"\\\\server", false},
        {L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\a", false},
        {L"\\\\server\\share", false},
        {L"\\\\.\\PhysicalDrive0", false},
        {L"C:", false},
        {L"C:relative", false},
        {L"\\rooted\\on\\current\\drive", false},
        {L"relative\\file.txt", false},
        {L"", false},
        {L"1:\\x", false},
        {L"C:\\dir\\", false},
        {L"C:\\x\\a/b.txt", false},
        {L"C:\\a\\..\\b", false},
        {L"C:\\a:stream", false},
        {L"z:\\a\\b", true},
        {L"C:\\a.", true},
        {L"C:\\a ", true},
        {L"\\\\server\\share\\file", true},
        {L"\\\\?\\C:\\x", true},
        {L"\\\\?\\UNC\\server\\share\\x", true},
    };
    const TableProbe probe;
    for (const auto& [path, usable] : paths) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(path)));
        ASSERT_EQ(usable, IsUsableFullPath(path)) << "the table no longer matches the engine";
        ShredRowVector rows;
        EXPECT_EQ(usable, AddShredRow(rows, path, probe));
        EXPECT_EQ(usable ? 1 : 0, rows.Count());
    }
}

TEST(ShredListRows, AddingGivesNamePathAndSizeTextInOrder) {
    TableProbe probe;
    probe.kinds[L"C:\\data"] = PathKind::Directory;
    probe.AddFile(L"C:\\data\\report.txt", 1536);
    probe.kinds[L"C:\\data\\locked.bin"] = PathKind::File;
    ShredRowVector rows;

    EXPECT_TRUE(AddShredRow(rows, L"C:\\data\\report.txt", probe));
    EXPECT_TRUE(AddShredRow(rows, L"C:\\data", probe));
    EXPECT_TRUE(AddShredRow(rows, L"C:\\gone\\away.txt", probe));
    EXPECT_TRUE(AddShredRow(rows, L"C:\\data\\locked.bin", probe));

    const std::vector<ShredRow> expected = {
        Row(L"report.txt", L"C:\\data\\report.txt", L"2 KB"),
        Row(L"data", L"C:\\data", L"<DIR>"),
        Row(L"away.txt", L"C:\\gone\\away.txt", L""),
        Row(L"locked.bin", L"C:\\data\\locked.bin", L""),
    };
    EXPECT_EQ(expected, rows.Rows());
    EXPECT_EQ(4, rows.Count());
    EXPECT_EQ(L"C:\\gone\\away.txt", ShredRowPath(rows, 2));
}

TEST(ShredListRows, TheSamePathTwiceGivesTwoRows) {
    TableProbe probe;
    probe.AddFile(L"C:\\a.txt", 0);
    ShredRowVector rows;
    AddShredRow(rows, L"C:\\a.txt", probe);
    AddShredRow(rows, L"C:\\a.txt", probe);
    ASSERT_EQ(2, rows.Count());
    EXPECT_EQ(rows.Rows()[0], rows.Rows()[1]);
    EXPECT_EQ(L"0 KB", rows.Rows()[1].sizeText);
}

TEST(ShredListRows, RemovingSelectedRowsKeepsTheOthersInOrder) {
    TableProbe probe;
    ShredRowVector rows;
    for (const wchar_t* path : {L"C:\\0", L"C:\\1", L"C:\\2", L"C:\\3", L"C:\\4"}) {
        AddShredRow(rows, path, probe);
    }
    RemoveSelectedShredRows(rows);
    EXPECT_EQ(5, rows.Count()) << "nothing selected, nothing removed";

    rows.Select(1, true);
    rows.Select(3, true);
    RemoveSelectedShredRows(rows);
    ASSERT_EQ(3, rows.Count());
    EXPECT_EQ(L"C:\\0", ShredRowPath(rows, 0));
    EXPECT_EQ(L"C:\\2", ShredRowPath(rows, 1));
    EXPECT_EQ(L"C:\\4", ShredRowPath(rows, 2));

    rows.Select(0, true);
    rows.Select(1, true);
    rows.Select(2, true);
    RemoveSelectedShredRows(rows);
    EXPECT_EQ(0, rows.Count());
}

TEST(ShredListRows, ClearEmptiesTheList) {
    TableProbe probe;
    ShredRowVector rows;
    ClearShredRows(rows);
    EXPECT_EQ(0, rows.Count());
    AddShredRow(rows, L"C:\\a", probe);
    AddShredRow(rows, L"C:\\b", probe);
    ClearShredRows(rows);
    EXPECT_EQ(0, rows.Count());
}

TEST(StatusBarParts, FirstPartTakesEightyEightPercentRoundedDown) {
    EXPECT_EQ((std::array<int, 2>{524, 596}), StatusBarPartEdges(596));
    EXPECT_EQ((std::array<int, 2>{523, 595}), StatusBarPartEdges(595));
    EXPECT_EQ((std::array<int, 2>{0, 0}), StatusBarPartEdges(0));
    EXPECT_EQ((std::array<int, 2>{1, 2}), StatusBarPartEdges(2));
}

TEST(FileSystemProbe, AnswersForRealFilesAndFolders) {
    TempFolder folder;
    WriteTestFile(folder / L"data.bin", std::string(1536, 'd'));
    WriteTestFile(folder / L"empty.bin", "");
    const FileSystemProbe probe;

    EXPECT_EQ(PathKind::Directory, probe.KindOf(folder.Path()));
    EXPECT_EQ(PathKind::File, probe.KindOf(folder / L"data.bin"));
    EXPECT_EQ(PathKind::Unreadable, probe.KindOf(folder / L"missing.bin"));
    EXPECT_EQ(1536, probe.FileSize(folder / L"data.bin"));
    EXPECT_EQ(0, probe.FileSize(folder / L"empty.bin"));
    EXPECT_EQ(std::nullopt, probe.FileSize(folder / L"missing.bin"));

    EXPECT_EQ(L"2 KB", SizeTextOf(folder / L"data.bin", probe));
    EXPECT_EQ(L"<DIR>", SizeTextOf(folder.Path(), probe));
    EXPECT_EQ(L"", SizeTextOf(folder / L"missing.bin", probe));
}

TEST(FileSystemProbe, AFileHeldOpenWithoutSharingHasNoSize) {
    TempFolder folder;
    const std::wstring path = folder / L"held.bin";
    WriteTestFile(path, "held");
    const HANDLE held =
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    const FileSystemProbe probe;
    EXPECT_EQ(PathKind::File, probe.KindOf(path));
    EXPECT_EQ(std::nullopt, probe.FileSize(path));
    EXPECT_EQ(L"", SizeTextOf(path, probe));
    CloseHandle(held);
    EXPECT_EQ(4, probe.FileSize(path)) << "the probe leaves nothing open behind";
    EXPECT_EQ(4, probe.FileSize(path));
}

// Removes names that the test folder's clean-up, which goes by Win32 names, cannot get past.
struct OddNamesRemover {
    const TempFolder& folder;
    std::vector<std::wstring> names;
    ~OddNamesRemover() {
        for (const std::wstring& name : names) {
            DeleteFileW(ExtendedPath(folder / name).c_str());
        }
    }
};

// Win32 path rules strip a final dot or space, so such a name probed without the extended-length
// form is taken for the item without them, or for nothing when there is none.
TEST(FileSystemProbe, NamesEndingInADotOrASpaceAreThemselves) {
    TempFolder folder;
    const OddNamesRemover remover{folder, {L"a.", L"a ", L"alone."}};
    ASSERT_TRUE(MakeLinuxFile(folder.Path(), L"a", std::string(2048, 'a')));
    ASSERT_TRUE(MakeLinuxFile(folder.Path(), L"a.", std::string(5120, 'd')));
    ASSERT_TRUE(MakeLinuxFile(folder.Path(), L"a ", std::string(7168, 's')));
    ASSERT_TRUE(MakeLinuxFile(folder.Path(), L"alone.", std::string(3072, 'l')));
    const FileSystemProbe probe;
    ShredRowVector rows;
    for (const wchar_t* name : {L"a", L"a.", L"a ", L"alone."}) {
        ASSERT_TRUE(AddShredRow(rows, folder / name, probe));
    }
    const std::vector<ShredRow> expected = {
        Row(L"a", folder / L"a", L"2 KB"),
        Row(L"a.", folder / L"a.", L"5 KB"),
        Row(L"a ", folder / L"a ", L"7 KB"),
        Row(L"alone.", folder / L"alone.", L"3 KB"),
    };
    EXPECT_EQ(expected, rows.Rows());
}

} // namespace
