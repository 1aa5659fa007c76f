// Bringing the list up to date after the worker's loop, over rows in memory and items on disk.
#include "job/job_rows.h"
#include "support/temp_folder.h"

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
    void SetRowPath(int row, const std::wstring& path) override {
        paths.at(static_cast<std::size_t>(row)) = path;
    }
    void DeleteRow(int row) override { paths.erase(paths.begin() + row); }
    ShredMethod CheckedMethod() const override { return nullptr; }

    std::vector<std::wstring> paths;
};

// gone.txt was destroyed; kept.txt is still there (say, a file with other names that the engine
// leaves whole, whatever it answered); old.txt now stands as renamed.ab; x.txt is gone under its
// last random name; a row left alone; later.txt never reached.
TEST(ReconcileJobRows, ExactlyTheRowsWhoseItemsRemainStayUnderTheirCurrentPaths) {
    TempFolder temp;
    WriteTestFile(temp / L"kept.txt", "whole");
    WriteTestFile(temp / L"renamed.ab", "renamed");
    WriteTestFile(temp / L"later.txt", "later");
    const std::vector<std::wstring> paths = {temp / L"gone.txt", temp / L"kept.txt",
                                             temp / L"old.txt",  L"rel.txt",
                                             temp / L"x.txt",    temp / L"later.txt"};
    const std::vector<JobRow> rows = {{RowState::Reached, paths[0], paths[0]},
                                      {RowState::Reached, paths[1], paths[1]},
                                      {RowState::Reached, paths[2], temp / L"renamed.ab"},
                                      {RowState::LeftAlone, paths[3], L""},
                                      {RowState::Reached, paths[4], temp / L"jdkfuqowpalme"},
                                      {RowState::NotReached, L"", L""}};
    const std::vector<std::wstring> staying = {temp / L"kept.txt", temp / L"renamed.ab", L"rel.txt",
                                               temp / L"later.txt"};

    RowsInMemory failed(paths);
    EXPECT_EQ(4, ReconcileJobRows(failed, rows, true));
    EXPECT_EQ(staying, failed.paths);

    RowsInMemory stopped(paths);
    EXPECT_EQ(3, ReconcileJobRows(stopped, rows, false)) << "rows the user kept do not count";
    EXPECT_EQ(staying, stopped.paths);
}

} // namespace
