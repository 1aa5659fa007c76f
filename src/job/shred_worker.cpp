#include "job/shred_worker.h"
#include "engine/chosen_item.h"
#include "job/free_space_job.h"
#include "job/job_messages.h"
#include "job/job_record.h"

namespace {

void ShredRows(std::vector<JobRow>& rows, ShredMethod method, JobProgress& progress) {
    // Rows of one folder follow each other (a paste of a folder's files): it is opened once.
    HeldFolder folder;
    for (JobRow& row : rows) {
        if (progress.StopRequested()) {
            return;
        }
        // Free space is wiped after every item, which may free more of it.
        if (row.kind == JobRowKind::FreeSpace) {
            continue;
        }
        if (!IsShreddableRow(row)) {
            row.state = RowState::LeftAlone;
            continue;
        }
        row.currentPath = row.originalPath;
        row.currentIdentity = row.identity;
        row.state = RowState::Reached;
        row.destroyed = ShredChosenItem(row.currentPath, row.currentIdentity, method, progress,
                                        folder) == ChosenItemResult::Destroyed;
    }
}

} // namespace

DWORD WINAPI ShredWorker(LPVOID progressDialog) {
    const HWND dialog = static_cast<HWND>(progressDialog);
    {
        const SystemAwake awake;
        try {
            ShredRows(CurrentJob.rows, CurrentJob.method, CurrentJob.progress);
            WipeFreeSpaceRows(CurrentJob.rows, CurrentJob.method, CurrentJob.progress);
        } catch (...) {
            // Whatever failed, the worker goes no further: every row reached so far is judged by
            // what the engine reported, and the rows not reached stay and count.
            CurrentJob.failed = true;
        }
    }
    // Posted, so that the dialog ends from its own queue and not inside a call of this thread.
    if (!PostMessageW(dialog, WM_SHRED_WORKER_DONE, 0, 0)) {
        SendMessageW(dialog, WM_SHRED_WORKER_DONE, 0, 0);
    }
    return 0;
}
