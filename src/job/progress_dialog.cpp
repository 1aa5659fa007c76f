#include "job/progress_dialog.h"
#include "dialogs/dialog_font_scaler.h"
#include "engine/folder_shredder.h"
#include "engine/long_path.h"
#include "job/job_messages.h"
#include "job/job_record.h"
#include "job/progress_repaint.h"
#include "job/shred_path.h"
#include "job/shred_worker.h"
#include "resource.h"

#include <commctrl.h>

#include <climits>
#include <cstdint>

namespace {

constexpr UINT_PTR StartTimer = 0;

// One step per file row, the folder walk's own count per folder row; rows the job leaves alone
// take none. Saturates rather than wraps.
int CountJobSteps(const ShredJobList& list) {
    const int count = list.RowCount();
    std::int64_t total = 0;
    for (int i = 0; i < count && total < INT_MAX; ++i) {
        const std::wstring path = list.RowPath(i);
        if (!IsUsableFullPath(path)) {
            continue;
        }
        total += IsFolderRow(path) ? CountShredItems(path) : 1;
    }
    return total < INT_MAX ? static_cast<int>(total) : INT_MAX;
}

void EndJobDialog(HWND dialog) {
    CurrentJob.stage = JobStage::Ended;
    EndDialog(dialog, 0);
}

// Nothing was shredded: every row stays and counts as not shredded.
void EndWithoutShredding(HWND dialog) {
    CurrentJob.notShredded = CurrentJob.list->RowCount();
    EndJobDialog(dialog);
}

void OnInitDialog(HWND dialog) {
    ScaleDialogIfNeeded(dialog);
    const int total = CountJobSteps(*CurrentJob.list);
    SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, total);
    SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_SETSTEP, 1, 0);
    CurrentJob.stage = JobStage::Waiting;
    // The worker starts from the modal loop, once the dialog is up; should no timer be
    // available, the same message is queued instead.
    if (!SetTimer(dialog, StartTimer, 1, nullptr)) {
        PostMessageW(dialog, WM_TIMER, StartTimer, 0);
    }
}

void StartWorker(HWND dialog) {
    KillTimer(dialog, StartTimer);
    if (CurrentJob.stage != JobStage::Waiting) {
        return;
    }
    HANDLE thread = StartThread(nullptr, 0, ShredWorker, dialog, 0, nullptr);
    if (!thread) {
        EndWithoutShredding(dialog);
        return;
    }
    CurrentJob.worker = ThreadHandle(thread);
    CurrentJob.stage = JobStage::Running;
    // The worker's first report is carried out only once this message is handled.
    HoldProgressRepaint(dialog);
}

void OnTimer(HWND dialog, UINT_PTR timer) {
    if (timer == ProgressRepaintTimer) {
        RepaintProgress(dialog);
        return;
    }
    StartWorker(dialog);
}

// The final name and position are on screen before the dialog goes.
void OnWorkerDone(HWND dialog) {
    ReleaseProgressRepaint(dialog);
    EndJobDialog(dialog);
}

// A close request never ends the dialog under a running worker: it asks the worker to stop
// after the item it is on, and the worker's end ends the dialog. Before the worker starts it
// ends the job with nothing done, which the user asked for, so nothing counts as not shredded.
void OnClose(HWND dialog) {
    switch (CurrentJob.stage) {
    case JobStage::Counting:
    case JobStage::Waiting:
        KillTimer(dialog, StartTimer);
        EndJobDialog(dialog);
        break;
    case JobStage::Running:
        CurrentJob.cancelRequested = true;
        break;
    case JobStage::Ended:
        break;
    }
}

// A failure on the main thread before the worker runs ends the job with nothing shredded.
void OnFailure(HWND dialog) {
    if (CurrentJob.stage == JobStage::Counting || CurrentJob.stage == JobStage::Waiting) {
        KillTimer(dialog, StartTimer);
        EndWithoutShredding(dialog);
    }
}

} // namespace

INT_PTR CALLBACK ProgressDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            OnInitDialog(dialog);
            return TRUE;
        case WM_TIMER:
            OnTimer(dialog, static_cast<UINT_PTR>(wParam));
            return TRUE;
        case WM_CLOSE:
            OnClose(dialog);
            return TRUE;
        case WM_SHRED_WORKER_DONE:
            OnWorkerDone(dialog);
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        OnFailure(dialog);
        return TRUE;
    }
}
