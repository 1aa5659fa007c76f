#include "mainwindow/current_folder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(CurrentFolder, StartUpMovesItToTheSystemFolder) {
    const CurrentFolderScope restore;
    TempFolder folder;
    ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
    wchar_t system[MAX_PATH + 1] = {};
    ASSERT_NE(0u, GetSystemDirectoryW(system, MAX_PATH + 1));
    EXPECT_TRUE(MoveCurrentFolderToSystemFolder());
    EXPECT_EQ(std::wstring(system), CurrentFolder());
}

} // namespace
