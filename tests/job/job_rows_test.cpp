// Taking the rows before a job and bringing the list up to date after the worker's loop, over
// rows in memory.
#include "job/job_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RowsInMemory final : public ShredJobList {
public:
    explicit RowsInMemory(std::vector<std::wstring> paths) : paths(std::move(paths)) {}

    HWND Owner() const override { return nullptr; }
    int RowCount() const override { return static_cast<int>(paths.size()); }
    std::wstring RowPath(int row) const override { return paths.at(static_cast<std::size_t>(row)); }
    bool RowIdentity(int row, ItemId& id) const override {
        if (row % 2) {
            return false;
        }
        id.volumeSerial = static_cast<std::uint64_t>(row) + 7;
        return true;
    }
    void SetRowItem(int row, const std::wstring& path, const ItemId&) override {
        paths.at(static_cast<std::size_t>(row)) = path;
    }
    void DeleteRow(int row) override { paths.erase(paths.begin() + row); }
    ShredMethod CheckedMethod() const override { return nullptr; }

    std::vector<std::wstring> paths;
};

TEST(TakeJobRows, EachRowWithItsPathAndRecordedIdentity) {
    const RowsInMemory list({L"C:\\a", L"C:\\b", L"C:\\c"});
    const std::vector<JobRow> rows = TakeJobRows(list);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(L"C:\\b", rows[1].originalPath);
    EXPECT_TRUE(rows[0].hasIdentity);
    EXPECT_EQ(7u, rows[0].identity.volumeSerial);
    EXPECT_FALSE(rows[1].hasIdentity);
    EXPECT_EQ(9u, rows[2].identity.volumeSerial);
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

    RowsInMemory failed(paths);
    EXPECT_EQ(4, ReconcileJobRows(failed, rows, true));
    EXPECT_EQ(staying, failed.paths);

    RowsInMemory stopped(paths);
    EXPECT_EQ(3, ReconcileJobRows(stopped, rows, false)) << "rows the user kept do not count";
    EXPECT_EQ(staying, stopped.paths);
}

} // namespace
