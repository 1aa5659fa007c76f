#include "mainwindow/file_system_probe.h"
#include "mainwindow/shred_list.h"
#include "mainwindow/shred_row_vector.h"
#include "mainwindow/status_bar.h"
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

TEST(ShredListName, IsTheLastComponentOrTheWholePath) {
    EXPECT_EQ(L"report.txt", ShredListName(L"C:\\data\\report.txt"));
    EXPECT_EQ(L"C:\\", ShredListName(L"C:\\"));
    EXPECT_EQ(L"data", ShredListName(L"C:\\data"));
    EXPECT_EQ(L"b", ShredListName(L"\\\\server\\share\\a\\b"));
    EXPECT_EQ(L"a/b.txt", ShredListName(L"C:\\x\\a/b.txt")) << "only a backslash separates";
    EXPECT_EQ(L"C:\\dir\\", ShredListName(L"C:\\dir\\"));
}

TEST(ShredListFullPath, AcceptsDriveAndUncPathsOnly) {
    EXPECT_TRUE(IsFullPath(L"C:\\"));
    EXPECT_TRUE(IsFullPath(L"z:\\a\\b"));
    EXPECT_TRUE(IsFullPath(L"\\\\server\\share\\file"));
    EXPECT_FALSE(IsFullPath(L""));
    EXPECT_FALSE(IsFullPath(L"C:"));
    EXPECT_FALSE(IsFullPath(L"C:relative"));
    EXPECT_FALSE(IsFullPath(L"\\rooted\\on\\current\\drive"));
    EXPECT_FALSE(IsFullPath(L"relative\\file.txt"));
    EXPECT_FALSE(IsFullPath(L"Control Panel"));
    EXPECT_FALSE(IsFullPath(L"1:\\x"));
    EXPECT_FALSE(IsFullPath(L"\\\\.\\PhysicalDrive0"));
    EXPECT_TRUE(IsFullPath(L"\\\\?\\C:\\x"));
}

TEST(ShredListRows, AddingGivesNamePathAndSizeTextInOrder) {
    TableProbe probe;
    probe.kinds[L"C:\\"] = PathKind::Directory;
    probe.AddFile(L"C:\\data\\report.txt", 1536);
    probe.kinds[L"C:\\data\\locked.bin"] = PathKind::File;
    ShredRowVector rows;

    EXPECT_TRUE(AddShredRow(rows, L"C:\\data\\report.txt", probe));
    EXPECT_TRUE(AddShredRow(rows, L"C:\\", probe));
    EXPECT_TRUE(AddShredRow(rows, L"C:\\gone\\away.txt", probe));
    EXPECT_TRUE(AddShredRow(rows, L"C:\\data\\locked.bin", probe));

    const std::vector<ShredRow> expected = {
        Row(L"report.txt", L"C:\\data\\report.txt", L"2 KB"),
        Row(L"C:\\", L"C:\\", L"<DIR>"),
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

TEST(ShredListRows, AnythingButAFullPathIsRefused) {
    TableProbe probe;
    ShredRowVector rows;
    EXPECT_FALSE(AddShredRow(rows, L"", probe));
    EXPECT_FALSE(AddShredRow(rows, L"relative.txt", probe));
    EXPECT_FALSE(AddShredRow(rows, L"\\no\\drive", probe));
    EXPECT_EQ(0, rows.Count());
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

TEST(ExtendedLengthPath, PrefixesOnlyLongFullPaths) {
    EXPECT_EQ(L"C:\\short.txt", ExtendedLengthPath(L"C:\\short.txt"));
    const std::wstring longTail(300, L'x');
    EXPECT_EQ(L"\\\\?\\C:\\" + longTail, ExtendedLengthPath(L"C:\\" + longTail));
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\" + longTail,
              ExtendedLengthPath(L"\\\\server\\share\\" + longTail));
    EXPECT_EQ(L"\\\\?\\C:\\" + longTail, ExtendedLengthPath(L"\\\\?\\C:\\" + longTail));
    EXPECT_EQ(longTail, ExtendedLengthPath(longTail)) << "a relative path is not made absolute";
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

} // namespace
