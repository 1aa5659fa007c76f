// Taking the rows before a job and bringing the list up to date after the worker's loop, over
// rows in memory.
#include "job/job_rows.h"
#include "support/stand_in_job_list.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

StandInJobList RowsAt(const std::vector<std::wstring>& paths) {
    StandInJobList list(nullptr, nullptr);
    for (const std::wstring& path : paths) {
        list.AddRaw(path);
    }
    return list;
}

TEST(TakeJobRows, EachRowWithItsPathAndRecordedIdentity) {
    TempFolder temp;
    MakeTestTree(temp.Path(), {{L"a", "a"}, {L"c", "c"}});
    StandInJobList list(nullptr, nullptr);
    list.Add(temp / L"a");
    list.AddRaw(temp / L"b");
    list.Add(temp / L"c");
    ItemId a;
    ItemId c;
    ASSERT_TRUE(ReadItemIdAtPath(temp / L"a", a) && ReadItemIdAtPath(temp / L"c", c));
    const std::vector<JobRow> rows = TakeJobRows(list);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(temp / L"b", rows[1].originalPath);
    EXPECT_TRUE(rows[0].hasIdentity);
    EXPECT_EQ(a, rows[0].identity);
    EXPECT_FALSE(rows[1].hasIdentity);
    EXPECT_EQ(c, rows[2].identity);
}

// Only what the engine reported destroyed leaves the list, whatever is on disk: gone.txt was
// destroyed; kept.txt was reached and not destroyed (held elsewhere, or another item now, or its
// path no longer leads anywhere); old.txt stays under its last random name; a row left alone; a
// row never reached.
TEST(ReconcileJobRows, OnlyRowsWhoseItemsTheEngineDestroyedLeave) {
    const std::vector<std::wstring> paths = {L"C:\\t\\gone.txt", L"C:\\t\\kept.txt",
                                             L"C:\\t\\old.txt", L"rel.txt", L"C:\\t\\later.txt"};
    std::vector<JobRow> rows(5);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].originalPath = paths[i];
        rows[i].currentPath = paths[i];
    }
    rows[0].state = RowState::Reached;
    rows[0].destroyed = true;
    rows[1].state = RowState::Reached;
    rows[2].state = RowState::Reached;
    rows[2].currentPath = L"C:\\t\\jdkfuqowpalme";
    rows[3].state = RowState::LeftAlone;
    const std::vector<std::wstring> staying = {L"C:\\t\\kept.txt", L"C:\\t\\jdkfuqowpalme",
                                               L"rel.txt", L"C:\\t\\later.txt"};

    StandInJobList failed = RowsAt(paths);
    EXPECT_EQ(4, ReconcileJobRows(failed, rows, true));
    EXPECT_EQ(staying, failed.Paths());

    StandInJobList stopped = RowsAt(paths);
    EXPECT_EQ(3, ReconcileJobRows(stopped, rows, false)) << "rows the user kept do not count";
    EXPECT_EQ(staying, stopped.Paths());
}

} // namespace
