#include "job/shred_job.h"
#include "job/job_record.h"
#include "job/progress_dialog.h"
#include "resource.h"

namespace {

// How many rows stay and count as not shredded, the list brought up to date.
int JudgeRows(ShredJobList& list) {
    if (!CurrentJob.workerStarted) {
        // Nothing ran: every row stays, and counts unless the user ended the job.
        return CurrentJob.failed ? static_cast<int>(CurrentJob.rows.size()) : 0;
    }
    return ReconcileJobRows(list, CurrentJob.rows, CurrentJob.failed);
}

} // namespace

void RunShredJob(ShredJobList& list) {
    // Exactly the rows listed now, whatever happens to the list while the job runs.
    ResetShredJob(list);
    // The dialog templates are linked into the program itself.
    const INT_PTR result = DialogBoxParamW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PROGRESS), list.Owner(), ProgressDialog, 0);
    if (result == -1) {
        CurrentJob.failed = true;
    }
    WaitForThreadEnd(CurrentJob.worker);
    CurrentJob.worker.Reset();
    CurrentJob.stage = JobStage::Ended;
    CurrentJob.shutdownBlock = ShutdownBlock();
    const int notShredded = JudgeRows(list);
    CurrentJob.rows.clear();
    if (notShredded > 0) {
        MessageBoxW(list.Owner(), NotShreddedMessage(notShredded).c_str(), NotShreddedCaption,
                    MB_OK | MB_ICONWARNING);
    }
}
