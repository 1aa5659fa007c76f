#include "job/job_rows.h"
#include "engine/long_path.h"

#include <utility>

namespace {

// Whether the row stays in the list; updates it when its item stays under another path or id.
bool ReconcileRow(ShredJobList& list, int index, const JobRow& row) {
    try {
        if (row.state != RowState::Reached) {
            return true;
        }
        if (row.destroyed) {
            list.DeleteRow(index);
            return false;
        }
        // A free-space row keeps its texts: it stands for no item.
        if (row.kind == JobRowKind::FreeSpace) {
            return true;
        }
        if (row.currentPath != row.originalPath || row.currentIdentity != row.identity) {
            list.SetRowItem(index, row.currentPath, row.currentIdentity);
        }
    } catch (...) {
        // Kept as it was: a row the job cannot rewrite is not dropped.
    }
    return true;
}

} // namespace

bool IsShreddableRow(const JobRow& row) {
    return row.kind == JobRowKind::Item && row.hasIdentity && IsUsableFullPath(row.originalPath);
}

std::vector<JobRow> TakeJobRows(const ShredJobList& list) {
    const int count = list.RowCount();
    std::vector<JobRow> rows(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        JobRow& row = rows[static_cast<std::size_t>(i)];
        row.originalPath = list.RowPath(i);
        row.hasIdentity = list.RowIdentity(i, row.identity);
        if (std::wstring root = list.RowFreeSpaceRoot(i); !root.empty()) {
            row.kind = JobRowKind::FreeSpace;
            row.originalPath = std::move(root);
            row.hasIdentity = false;
        }
    }
    return rows;
}

int ReconcileJobRows(ShredJobList& list, const std::vector<JobRow>& rows, bool countUnreached) {
    int notShredded = 0;
    // Bottom to top, so that deleting a row leaves the indices of the rows above it alone.
    for (int i = static_cast<int>(rows.size()) - 1; i >= 0; --i) {
        const JobRow& row = rows[static_cast<std::size_t>(i)];
        const bool stays = ReconcileRow(list, i, row);
        if (stays && (countUnreached || row.state != RowState::NotReached)) {
            ++notShredded;
        }
    }
    return notShredded;
}
