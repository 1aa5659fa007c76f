#include "job/shred_worker.h"
#include "engine/file_shredder.h"
#include "engine/folder_shredder.h"
#include "engine/long_path.h"
#include "engine/overwrite_methods.h"
#include "job/job_record.h"
#include "job/shred_list_rows.h"
#include "job/shred_path.h"
#include "mainwindow/app_globals.h"
#include "resource.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

struct RowOutcome {
    bool handled = false;
    bool remains = true;
    std::wstring originalPath;
    std::wstring currentPath;
};

// The first checked method button; "Random data", the window's own default, should none be.
ShredMethod CheckedShredMethod(HWND mainWindow) {
    for (int id = IDC_METHOD_FIRST; id <= IDC_METHOD_LAST; ++id) {
        if (IsDlgButtonChecked(mainWindow, id) != BST_UNCHECKED) {
            return ShredMethods[id - IDC_METHOD_FIRST];
        }
    }
    return ShredMethods[IDC_METHOD_RANDOM - IDC_METHOD_FIRST];
}

void ShredRow(RowOutcome& row, ShredMethod method, HWND& dialog) {
    row.handled = true;
    try {
        if (IsFolderRow(row.currentPath)) {
            ShredFolder(row.currentPath, method, dialog, &CurrentJob.cancelRequested);
        } else {
            SetDlgItemTextW(dialog, IDC_PROGRESS_NAME, ShredItemName(row.currentPath).c_str());
            ShredFile(row.currentPath, method);
            SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_STEPIT, 0, 0);
        }
    } catch (...) {
        // The item is judged by what is on disk below, like any other.
    }
    row.remains = ShredItemExists(row.currentPath);
}

// Bottom to top, so that deleting a row leaves the indices of the rows above it alone.
int ReconcileShredList(HWND list, const std::vector<RowOutcome>& rows) {
    int notShredded = 0;
    for (int i = static_cast<int>(rows.size()) - 1; i >= 0; --i) {
        const RowOutcome& row = rows[static_cast<std::size_t>(i)];
        if (!row.handled) {
            continue;
        }
        if (!row.remains) {
            DeleteShredListRow(list, i);
            continue;
        }
        ++notShredded;
        if (row.currentPath != row.originalPath) {
            SetShredListRowPath(list, i, row.currentPath);
        }
    }
    return notShredded;
}

void RunRows(HWND dialog) {
    const ShredMethod method = CheckedShredMethod(MainWindowHandle);
    const HWND list = ShredListOf(MainWindowHandle);
    const int count = ShredListRowCount(list);
    std::vector<RowOutcome> rows(static_cast<std::size_t>(count > 0 ? count : 0));
    int leftAlone = 0;
    for (int i = 0; i < count && !CurrentJob.cancelRequested; ++i) {
        RowOutcome& row = rows[static_cast<std::size_t>(i)];
        row.originalPath = ShredListRowPath(list, i);
        row.currentPath = row.originalPath;
        if (!IsUsableFullPath(row.originalPath)) {
            ++leftAlone;
            continue;
        }
        ShredRow(row, method, dialog);
    }
    CurrentJob.notShredded = leftAlone + ReconcileShredList(list, rows);
}

} // namespace

DWORD WINAPI ShredWorker(LPVOID progressDialog) {
    HWND dialog = static_cast<HWND>(progressDialog);
    try {
        RunRows(dialog);
    } catch (...) {
        // Rows that were not reconciled keep their texts; the dialog must end all the same.
    }
    EndDialog(dialog, 0);
    return 0;
}
