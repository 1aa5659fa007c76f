#include "job/shred_job.h"
#include "job/job_record.h"
#include "job/progress_dialog.h"
#include "resource.h"

int ReconcileListedRows(ShredJobList& list, const std::vector<JobRow>& rows, bool countUnreached) {
    list.HoldDrawing(true);
    const int notShredded = ReconcileJobRows(list, rows, countUnreached);
    list.HoldDrawing(false);
    return notShredded;
}

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
    CurrentJob.shutdownBlock.Reset();
    // Should no worker have run, every row is still not reached: each stays, and counts unless
    // the user ended the job.
    const int notShredded = ReconcileListedRows(list, CurrentJob.rows, CurrentJob.failed);
    CurrentJob.rows.clear();
    if (notShredded > 0) {
        MessageBoxW(list.Owner(), NotShreddedMessage(notShredded).c_str(), NotShreddedCaption,
                    MB_OK | MB_ICONWARNING);
    }
}
