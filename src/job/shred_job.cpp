#include "job/shred_job.h"
#include "job/job_record.h"
#include "job/progress_dialog.h"
#include "resource.h"

void RunShredJob(ShredJobList& list) {
    ResetShredJob(list);
    // The dialog templates are linked into the program itself.
    const INT_PTR result = DialogBoxParamW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PROGRESS), list.Owner(), ProgressDialog, 0);
    if (result == -1) {
        // The dialog could not be created: nothing ran, every row stays.
        CurrentJob.notShredded = list.RowCount();
    }
    // The worker's last act is telling the dialog that it is done; wait for the thread to be gone
    // before reporting.
    WaitForThreadEnd(CurrentJob.worker);
    CurrentJob.worker.Reset();
    CurrentJob.stage = JobStage::Ended;
    CurrentJob.list = nullptr;
    if (CurrentJob.notShredded > 0) {
        MessageBoxW(list.Owner(), NotShreddedMessage(CurrentJob.notShredded).c_str(),
                    NotShreddedCaption, MB_OK | MB_ICONWARNING);
    }
}
