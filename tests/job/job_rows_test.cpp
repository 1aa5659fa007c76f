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

JobRow Reached(const std::wstring& original, const std::wstring& current) {
    return JobRow{RowState::Reached, original, current};
}

class JobRowsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        WriteTestFile(temp / L"kept.txt", "whole");
        WriteTestFile(temp / L"renamed.ab", "renamed");
        WriteTestFile(temp / L"later.txt", "later");
    }

    // gone.txt was destroyed; kept.txt is still there (say, a file with other names that the
    // engine leaves whole, whatever it answered); old.txt now stands as renamed.ab; a row left
    // alone; later.txt was never reached.
    std::vector<JobRow> Rows() const {
        return {Reached(temp / L"gone.txt", temp / L"gone.txt"),
                Reached(temp / L"kept.txt", temp / L"kept.txt"),
                Reached(temp / L"old.txt", temp / L"renamed.ab"),
                JobRow{RowState::LeftAlone, L"rel.txt", L""},
                Reached(temp / L"x.txt", temp / L"jdkfuqowpalme"),
                JobRow{RowState::NotReached, L"", L""}};
    }
    RowsInMemory List() const {
        return RowsInMemory({temp / L"gone.txt", temp / L"kept.txt", temp / L"old.txt", L"rel.txt",
                             temp / L"x.txt", temp / L"later.txt"});
    }

    TempFolder temp;
};

TEST_F(JobRowsFixture, ExactlyTheRowsWhoseItemsRemainStayUnderTheirCurrentPaths) {
    RowsInMemory list = List();

    const int notShredded = ReconcileJobRows(list, Rows(), true);

    EXPECT_EQ((std::vector<std::wstring>{temp / L"kept.txt", temp / L"renamed.ab", L"rel.txt",
                                         temp / L"later.txt"}),
              list.paths);
    EXPECT_EQ(4, notShredded);
}

TEST_F(JobRowsFixture, RowsNotReachedAfterAStopStayWithoutCounting) {
    RowsInMemory list = List();

    const int notShredded = ReconcileJobRows(list, Rows(), false);

    EXPECT_EQ(4u, list.paths.size());
    EXPECT_EQ(temp / L"later.txt", list.paths.back());
    EXPECT_EQ(3, notShredded);
}

} // namespace
