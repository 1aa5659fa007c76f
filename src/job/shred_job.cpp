#include "job/shred_job.h"
#include "job/job_record.h"
#include "job/progress_dialog.h"
#include "job/shred_list_rows.h"
#include "mainwindow/app_globals.h"
#include "resource.h"

#include <string>

namespace {

const wchar_t NotShreddedCaption[] = L"Items not shredded";

} // namespace

std::wstring NotShreddedMessage(int count) {
    if (count == 1) {
        return L"1 item could not be shredded. It remains in the list.";
    }
    return std::to_wstring(count) + L" items could not be shredded. They remain in the list.";
}

void RunShredJob(HWND mainWindow) {
    ResetShredJob();
    const INT_PTR result =
        DialogBoxParamW(AppInstance, MAKEINTRESOURCEW(IDD_PROGRESS), mainWindow, ProgressDialog, 0);
    if (result == -1) {
        // The dialog could not be created: nothing ran, every row stays.
        CurrentJob.notShredded = ShredListRowCount(ShredListOf(mainWindow));
    }
    // The worker's last act is ending the dialog; wait for it to be gone before reporting.
    WaitForThreadEnd(CurrentJob.worker);
    CurrentJob.worker.Reset();
    CurrentJob.stage = JobStage::Ended;
    if (CurrentJob.notShredded > 0) {
        MessageBoxW(mainWindow, NotShreddedMessage(CurrentJob.notShredded).c_str(),
                    NotShreddedCaption, MB_OK | MB_ICONWARNING);
    }
}
