// The job's list on a real main window, and the one list-view text reader that the job and the
// main window's rows share: read from the main thread and from another thread.
#include "engine/overwrite_methods.h"
#include "job/list_view_text.h"
#include "job/main_window_job_list.h"
#include "mainwindow/shred_list_view.h"
#include "job_harness.h"

#include <thread>

namespace {

std::wstring PathOfLength(std::size_t length) {
    std::wstring path = L"C:\\";
    for (wchar_t c = L'a'; path.size() < length; c = c == L'z' ? L'a' : c + 1) {
        path.push_back(path.size() % 20 == 0 ? L'\\' : c);
    }
    return path;
}

TEST(ListViewItemText, TextsOfEveryLengthAreReadWhole) {
    JobHarness window;
    // 32,767 is the longest path; 40,000 is beyond any buffer the control might assume.
    const std::vector<std::size_t> lengths = {3,   258, 259,  260,   261,   519,
                                              520, 521, 5000, 32767, 40000, 65536};
    for (std::size_t length : lengths) {
        window.AddRawRow(L"name", PathOfLength(length));
    }
    const ListViewRows rows(window.List());
    MainWindowJobList list(window.Main());
    ASSERT_EQ(static_cast<int>(lengths.size()), list.RowCount());
    for (std::size_t row = 0; row < lengths.size(); ++row) {
        const int index = static_cast<int>(row);
        EXPECT_EQ(PathOfLength(lengths[row]), ListViewItemText(window.List(), index, 1))
            << "length " << lengths[row];
        EXPECT_EQ(PathOfLength(lengths[row]), list.RowPath(index)) << "length " << lengths[row];
        EXPECT_EQ(PathOfLength(lengths[row]), rows.Text(index, 1)) << "length " << lengths[row];
    }
    EXPECT_EQ(L"name", ListViewItemText(window.List(), 0, 0));
}

TEST(MainWindowJobList, RowsAndMethodAreReachedFromAnotherThread) {
    JobHarness window;
    window.AddRawRow(L"old.txt", L"C:\\data\\old.txt");
    window.AddRawRow(L"long", PathOfLength(40000));
    window.AddRawRow(L"last.txt", L"C:\\data\\last.txt");
    window.CheckMethod(IDC_METHOD_DOD7);
    MainWindowJobList list(window.Main());
    const std::wstring renamed = L"C:\\data\\qrjatydimo.ug";
    std::wstring first;
    std::wstring second;
    ShredMethod method = nullptr;
    bool done = false;
    std::thread worker([&] {
        method = list.CheckedMethod();
        first = list.RowPath(0);
        second = list.RowPath(1);
        list.SetRowPath(0, renamed);
        list.DeleteRow(1);
        done = true;
    });
    // The worker's messages are carried out here, as in the progress dialog's modal loop.
    EXPECT_TRUE(PumpUntil([&] { return ListItemCount(window.List()) == 2; }));
    worker.join();

    ASSERT_TRUE(done);
    EXPECT_EQ(window.Main(), list.Owner());
    EXPECT_EQ(ShredMethods[IDC_METHOD_DOD7 - IDC_METHOD_FIRST], method);
    EXPECT_EQ(L"C:\\data\\old.txt", first);
    EXPECT_EQ(PathOfLength(40000), second);
    EXPECT_EQ((std::vector<std::vector<std::wstring>>{{L"qrjatydimo.ug", renamed},
                                                      {L"last.txt", L"C:\\data\\last.txt"}}),
              ListRows(window.List(), 2));
}

} // namespace
