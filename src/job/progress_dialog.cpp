#include "job/progress_dialog.h"
#include "dialogs/dialog_font_scaler.h"
#include "engine/folder_shredder.h"
#include "engine/long_path.h"
#include "job/free_space_job.h"
#include "job/job_messages.h"
#include "job/job_record.h"
#include "job/progress_repaint.h"
#include "job/shred_worker.h"
#include "resource.h"

#include <commctrl.h>

#include <climits>
#include <cstdint>
#include <string>

namespace {

constexpr UINT_PTR StartTimer = 0;
// How long an ending session waits for the worker to stop: Windows ends the process about five
// seconds after WM_ENDSESSION, and the file at hand should be left between two chunks.
constexpr DWORD EndSessionWait = 4000;

// For the count, which follows the path: a folder when the path has the directory attribute, and
// also when its attributes cannot be read (the folder count then gives 1). The shred itself goes
// by what the opened item is.
bool IsFolderRow(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// One step per file row, the folder walk's own count per folder row; rows the job leaves alone
// take none. Saturates rather than wraps.
int CountJobSteps(const std::vector<JobRow>& rows) {
    std::int64_t total = 0;
    for (const JobRow& row : rows) {
        if (total >= INT_MAX) {
            break;
        }
        if (!IsShreddableRow(row)) {
            continue;
        }
        total += IsFolderRow(row.originalPath) ? CountShredItems(row.originalPath) : 1;
    }
    return total < INT_MAX ? static_cast<int>(total) : INT_MAX;
}

void EndJobDialog(HWND dialog) {
    CurrentJob.stage = JobStage::Ended;
    CurrentJob.shutdownBlock.Reset();
    EndDialog(dialog, 0);
}

// Nothing was shredded: every row stays and counts as not shredded.
void EndWithoutShredding(HWND dialog) {
    CurrentJob.failed = true;
    EndJobDialog(dialog);
}

void OnInitDialog(HWND dialog) {
    ScaleDialogIfNeeded(dialog);
    CurrentJob.totalSteps = CountJobSteps(CurrentJob.rows);
    CountFreeSpaceBytes(CurrentJob.rows, CurrentJob.method);
    SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, CurrentJob.totalSteps);
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
    CurrentJob.shutdownBlock = BlockShutdown(dialog);
    SetTimer(dialog, ProgressRepaintTimer, ProgressRepaintPeriodMs, nullptr);
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
    PaintFinalProgress(dialog);
    EndJobDialog(dialog);
}

// A close request never ends the dialog under a running worker: it asks the worker to stop,
// which a pass heeds before its next chunk, and the worker's end ends the dialog. Before the
// worker starts it ends the job with nothing done, which the user asked for, so nothing counts as
// not shredded.
void OnClose(HWND dialog) {
    switch (CurrentJob.stage) {
    case JobStage::Counting:
    case JobStage::Waiting:
        KillTimer(dialog, StartTimer);
        EndJobDialog(dialog);
        break;
    case JobStage::Running:
        CurrentJob.progress.RequestStop();
        break;
    case JobStage::Ended:
        break;
    }
}

// Windows asks whether the session may end: not while files are half shredded. The reason the
// user is shown is the shutdown block reason set when the worker started. A critical end cannot
// be refused: the job is asked to stop and the answer is given at once.
INT_PTR OnQueryEndSession(HWND dialog, LPARAM flags) {
    if (CurrentJob.stage != JobStage::Running) {
        return FALSE;
    }
    const bool critical = (flags & ENDSESSION_CRITICAL) != 0;
    if (critical) {
        CurrentJob.progress.RequestStop();
    }
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, critical ? TRUE : FALSE);
    return TRUE;
}

// The session ends all the same: the item at hand stops before its next chunk and stays whole
// beyond it, with its attributes, unless the chunk outlasts the wait and the process is ended.
void OnEndSession(bool ending) {
    if (!ending || CurrentJob.stage != JobStage::Running) {
        return;
    }
    CurrentJob.progress.RequestStop();
    WaitForThreadEnd(CurrentJob.worker, EndSessionWait);
}

// A failure on the main thread before the worker runs ends the job with nothing shredded.
void OnFailure(HWND dialog) {
    if (CurrentJob.stage == JobStage::Counting || CurrentJob.stage == JobStage::Waiting) {
        KillTimer(dialog, StartTimer);
        EndWithoutShredding(dialog);
    }
}

} // namespace

INT_PTR CALLBACK ProgressDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
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
        case WM_QUERYENDSESSION:
            return OnQueryEndSession(dialog, lParam);
        case WM_ENDSESSION:
            OnEndSession(wParam != FALSE);
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
