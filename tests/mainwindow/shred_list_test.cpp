#include "mainwindow/shred_list.h"
#include "mainwindow/listed_items.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

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

TEST(ShredListSizeText, AFolderIsDirWhateverSizeItsDataGives) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    data.nFileSizeHigh = 1;
    data.nFileSizeLow = 512;
    EXPECT_EQ(L"4194305 KB", SizeTextOf(data)) << "both halves of the size count";
    data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY;
    EXPECT_EQ(L"<DIR>", SizeTextOf(data));
}

// Windows compares names ordinally, ignoring case; a path's extended-length spelling is the same
// path, and only a whole component makes an item lie inside a folder.
TEST(ShredListPaths, SameOrInsideAsWindowsComparesNames) {
    const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {
        {L"C:\\Data\\a.txt", L"C:\\Data\\a.txt", true},
        {L"c:\\DATA\\A.TXT", L"C:\\Data\\a.txt", true},
        {L"\\\\?\\C:\\Data\\a.txt", L"C:\\Data\\a.txt", true},
        {L"\\\\server\\share\\x\\y", L"\\\\?\\UNC\\SERVER\\share\\x", true},
        {L"C:\\Data\\sub\\deep\\a.txt", L"C:\\data", true},
        {L"C:\\Database\\a.txt", L"C:\\Data", false},
        {L"C:\\Data", L"C:\\Data\\sub", false},
        {L"D:\\Data\\a.txt", L"C:\\Data", false},
        {L"C:\\Stra\u00dfe", L"C:\\STRASSE", false},
        {L"C:\\\u00e9t\u00e9", L"C:\\\u00c9T\u00c9", true},
    };
    for (const auto& [path, folder, expected] : cases) {
        EXPECT_EQ(expected, SameOrInside(path, folder))
            << testing::PrintToString(std::wstring(path)) << " in "
            << testing::PrintToString(std::wstring(folder));
        // The keyed set of an add finds exactly the same.
        ListedItems listed;
        listed.Insert(folder, nullptr, false);
        EXPECT_EQ(expected, listed.HoldsPath(path)) << testing::PrintToString(std::wstring(path));
    }
    EXPECT_TRUE(SamePath(L"C:\\Data\\A.txt", L"\\\\?\\c:\\data\\a.TXT"));
    EXPECT_FALSE(SamePath(L"C:\\Data\\a.txt", L"C:\\Data"));
    EXPECT_FALSE(SamePath(L"C:\\Data", L"C:\\Data\\a.txt"));
}

TEST(ShredListPaths, ParentsEndBelowTheRoot) {
    EXPECT_EQ(L"C:\\a\\b", ParentOf(L"C:\\a\\b\\c"));
    EXPECT_EQ(L"", ParentOf(L"C:\\a"));
    EXPECT_EQ(L"\\\\server\\share\\a", ParentOf(L"\\\\server\\share\\a\\b"));
    EXPECT_EQ(L"", ParentOf(L"\\\\server\\share\\a"));
    EXPECT_EQ(L"\\\\?\\C:\\a", ParentOf(L"\\\\?\\C:\\a\\b"));
    EXPECT_EQ(L"", ParentOf(L"\\\\?\\C:\\a"));
}

} // namespace
