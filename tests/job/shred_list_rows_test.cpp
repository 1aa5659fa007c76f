// Reading and rewriting rows of a real list-view control as the job does, from the main thread
// and from another thread.
#include "job/shred_list_rows.h"
#include "support/ui_test.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <thread>

namespace {

class ListFixture : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&classes);
        list_ = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT, 0, 0, 400, 300,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, list_);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 100;
        for (const wchar_t* header : {L"Size", L"Path", L"Name"}) {
            column.pszText = const_cast<wchar_t*>(header);
            SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        }
    }
    void TearDown() override { DestroyWindow(list_); }

    void AddRow(const std::wstring& path) {
        std::wstring text = path;
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = ListItemCount(list_);
        item.pszText = text.data();
        const auto row = static_cast<WPARAM>(
            SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        item.iSubItem = 1;
        SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    }

    HWND list_ = nullptr;
};

std::wstring PathOfLength(std::size_t length) {
    std::wstring path = L"C:\\";
    for (wchar_t c = L'a'; path.size() < length; c = c == L'z' ? L'a' : c + 1) {
        path.push_back(path.size() % 20 == 0 ? L'\\' : c);
    }
    return path;
}

TEST_F(ListFixture, PathsOfEveryLengthAreReadWhole) {
    const std::vector<std::size_t> lengths = {3, 258, 259, 260, 261, 519, 520, 521, 5000};
    for (std::size_t length : lengths) {
        AddRow(PathOfLength(length));
    }
    ASSERT_EQ(static_cast<int>(lengths.size()), ShredListRowCount(list_));
    for (std::size_t row = 0; row < lengths.size(); ++row) {
        EXPECT_EQ(PathOfLength(lengths[row]), ShredListRowPath(list_, static_cast<int>(row)))
            << "length " << lengths[row];
    }
}

TEST_F(ListFixture, RowsAreReadAndRewrittenFromAnotherThread) {
    AddRow(L"C:\\data\\old.txt");
    AddRow(PathOfLength(700));
    std::wstring first;
    std::wstring second;
    const std::wstring renamed = L"C:\\data\\qrjatydimo.ug";
    std::thread worker([&] {
        first = ShredListRowPath(list_, 0);
        second = ShredListRowPath(list_, 1);
        SetShredListRowPath(list_, 0, renamed);
        DeleteShredListRow(list_, 1);
    });
    // The worker's messages are carried out here, as in the progress dialog's modal loop.
    EXPECT_TRUE(PumpUntil([this] { return ListItemCount(list_) == 1; }));
    worker.join();

    EXPECT_EQ(L"C:\\data\\old.txt", first);
    EXPECT_EQ(PathOfLength(700), second);
    EXPECT_EQ(L"qrjatydimo.ug", ListItemText(list_, 0, 0));
    EXPECT_EQ(renamed, ListItemText(list_, 0, 1));
}

TEST(ShredItemName, IsThePartAfterTheLastBackslash) {
    EXPECT_EQ(L"report.txt", ShredItemName(L"C:\\data\\report.txt"));
    EXPECT_EQ(L"share", ShredItemName(L"\\\\server\\share"));
    EXPECT_EQ(L"C:\\", ShredItemName(L"C:\\"));
    EXPECT_EQ(L"plain", ShredItemName(L"plain"));
}

} // namespace
