// The job's list on a window made from the main window's template: the rows of its list-view
// (path in column 1, name in column 0) and its method buttons.
#pragma once

#include "job/shred_job_list.h"

class MainWindowJobList final : public ShredJobList {
public:
    explicit MainWindowJobList(HWND mainWindow);

    HWND Owner() const override { return window_; }
    int RowCount() const override;
    std::wstring RowPath(int row) const override;
    void SetRowPath(int row, const std::wstring& path) override;
    void DeleteRow(int row) override;
    // The first checked method button; "Random data", the window's own default, should none be.
    ShredMethod CheckedMethod() const override;

private:
    HWND window_;
    HWND list_;
};
