#include "job/shred_worker.h"
#include "engine/file_shredder.h"
#include "engine/folder_shredder.h"
#include "engine/long_path.h"
#include "job/job_messages.h"
#include "job/job_record.h"
#include "job/job_rows.h"
#include "job/shred_path.h"
#include "resource.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

// Result codes are not looked at: the row is judged by what is on disk afterwards, which also
// keeps an item the engine leaves whole on purpose (a file with other names) listed.
void ShredItem(std::wstring& path, ShredMethod method, HWND& dialog) {
    if (IsFolderRow(path)) {
        ShredFolder(path, method, dialog, &CurrentJob.cancelRequested);
        return;
    }
    SetDlgItemTextW(dialog, IDC_PROGRESS_NAME, LastComponent(path).c_str());
    ShredFile(path, method);
    SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_STEPIT, 0, 0);
}

void ShredRows(ShredJobList& list, std::vector<JobRow>& rows, HWND& dialog) {
    const ShredMethod method = list.CheckedMethod();
    for (std::size_t i = 0; i < rows.size() && !CurrentJob.cancelRequested; ++i) {
        JobRow& row = rows[i];
        row.originalPath = list.RowPath(static_cast<int>(i));
        if (!IsUsableFullPath(row.originalPath)) {
            row.state = RowState::LeftAlone;
            continue;
        }
        row.currentPath = row.originalPath;
        row.state = RowState::Reached;
        ShredItem(row.currentPath, method, dialog);
    }
}

void RunJob(ShredJobList& list, HWND& dialog) {
    const int count = list.RowCount();
    std::vector<JobRow> rows(static_cast<std::size_t>(count > 0 ? count : 0));
    bool failed = false;
    try {
        ShredRows(list, rows, dialog);
    } catch (...) {
        // Whatever failed, the worker goes no further: every row reached so far is judged by
        // what is on disk, and the rows not reached stay and count.
        failed = true;
    }
    CurrentJob.notShredded = ReconcileJobRows(list, rows, failed);
}

} // namespace

DWORD WINAPI ShredWorker(LPVOID progressDialog) {
    HWND dialog = static_cast<HWND>(progressDialog);
    ShredJobList& list = *CurrentJob.list;
    try {
        RunJob(list, dialog);
    } catch (...) {
        // Only the rows' record itself could not be made: nothing was shredded.
        CurrentJob.notShredded = list.RowCount();
    }
    // Posted, so that the dialog ends from its own queue and not inside a call of this thread.
    if (!PostMessageW(dialog, WM_SHRED_WORKER_DONE, 0, 0)) {
        SendMessageW(dialog, WM_SHRED_WORKER_DONE, 0, 0);
    }
    return 0;
}
