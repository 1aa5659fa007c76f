#include "engine/long_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LongPath, FullPathsBelowADriveOrShareAreUsable) {
    for (const wchar_t* path : {
             L"C:\\a",
             L"z:\\a\\b",
             L"c:\\folder\\file.txt",
             L"C:\\a.",
             L"C:\\trail.",
             L"C:\\trail ",
             L"C:\\.profile",
             L"C:\\\U0001F600",
             L"\\\\server\\share\\item",
             L"\\\\?\\C:\\a\\b",
             L"\\\\?\\UNC\\server\\share\\item",
             L"\\\\?\\Volume{0123abcd-4567-89ef-0123-456789ABCDEF}\\item",
         }) {
        EXPECT_TRUE(IsUsableFullPath(path)) << testing::PrintToString(std::wstring(path));
    }
}

TEST(LongPath, AnythingThatWouldBeResolvedOrIsNoItemIsRefused) {
    const std::wstring withNul(L"C:\\a\0b", 6);
    for (const std::wstring& path : {
             std::wstring(L""),
             std::wstring(L"file.txt"),
             std::wstring(L"a\\b"),
             std::wstring(L"."),
             std::wstring(L".\\a"),
             std::wstring(L"..\\a"),
             std::wstring(L"C:"),
             std::wstring(L"C:."),
             std::wstring(L"C:file.txt"),
             std::wstring(L"C:\\"),
             std::wstring(L"\\file.txt"),
             std::wstring(L"\\rooted\\on\\drive"),
             std::wstring(L"C:\\a\\"),
             std::wstring(L"C:\\a\\\\b"),
             std::wstring(L"C:\\a\\.\\b"),
             std::wstring(L"C:\\a\\..\\b"),
             std::wstring(L"C:\\a\\.."),
             std::wstring(L"C:\\a\\."),
             std::wstring(L"C:/a/b"),
             std::wstring(L"C:\\a/b"),
             std::wstring(L"C:\\a*"),
             std::wstring(L"C:\\a?"),
             std::wstring(L"C:\\file.txt:stream"),
             std::wstring(L"C:\\a\tb"),
             std::wstring(L"\\\\server"),
             std::wstring(L"\\\\server\\share"),
             std::wstring(L"\\\\server\\share\\"),
             std::wstring(L"\\\\.\\C:\\a"),
             std::wstring(L"\\\\.\\PhysicalDrive0"),
             std::wstring(L"\\\\?\\C:\\"),
             std::wstring(L"\\\\?\\Volume{0}\\a"),
             std::wstring(L"\\\\?\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\"),
             std::wstring(L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\a"),
             std::wstring(L"\\\\?\\UNC\\server\\share"),
             std::wstring(L"1:\\a"),
             withNul,
         }) {
        EXPECT_FALSE(IsUsableFullPath(path)) << testing::PrintToString(path);
    }
}

TEST(LongPath, ExtendedFormKeepsTheNameAsItIs) {
    EXPECT_EQ(L"\\\\?\\C:\\dir\\trail.", ExtendedPath(L"C:\\dir\\trail."));
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\a ", ExtendedPath(L"\\\\server\\share\\a "));
    EXPECT_EQ(L"\\\\?\\C:\\a", ExtendedPath(L"\\\\?\\C:\\a"));
    EXPECT_EQ(L"\\\\?\\UNC\\s\\h\\a", ExtendedPath(L"\\\\?\\UNC\\s\\h\\a"));
    const std::wstring longPath =
        L"C:\\" + std::wstring(300, L'x') + L"\\" + std::wstring(300, L'y');
    EXPECT_EQ(L"\\\\?\\" + longPath, ExtendedPath(longPath)) << "nothing is cut short";
}

TEST(LongPath, ParentFolderKeepsTheBackslashOnlyOnARoot) {
    EXPECT_EQ(L"\\\\?\\C:\\", ParentFolderPath(L"C:\\file"));
    EXPECT_EQ(L"\\\\?\\C:\\dir", ParentFolderPath(L"C:\\dir\\file"));
    EXPECT_EQ(L"\\\\?\\C:\\dir.", ParentFolderPath(L"C:\\dir.\\file"));
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\", ParentFolderPath(L"\\\\server\\share\\file"));
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\dir", ParentFolderPath(L"\\\\server\\share\\dir\\f"));
    EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\", ParentFolderPath(L"\\\\?\\UNC\\server\\share\\f"));
    const std::wstring volume = L"\\\\?\\Volume{0123abcd-4567-89ef-0123-456789abcdef}\\";
    EXPECT_EQ(volume, ParentFolderPath(volume + L"f"));
    EXPECT_EQ(volume + L"dir", ParentFolderPath(volume + L"dir\\f"));
}

TEST(LongPath, PartsOfAPath) {
    EXPECT_EQ(L"C:\\dir\\", DirectoryPart(L"C:\\dir\\name.txt"));
    EXPECT_EQ(L"name.txt", LastComponent(L"C:\\dir\\name.txt"));
    EXPECT_EQ(L"C:\\dir\\x", JoinPath(L"C:\\dir", L"x"));
    EXPECT_EQ(L"\\x", JoinPath(L"\\", L"x"));
}

} // namespace
