#include "job/progress_repaint.h"
#include "job/job_record.h"
#include "resource.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

void RepaintProgress(HWND dialog) {
    std::wstring name;
    if (CurrentJob.progress.TakeNewName(name)) {
        SetDlgItemTextW(dialog, IDC_PROGRESS_NAME, name.c_str());
    }
    // Past the maximum the bar would start over; files made after the count must not do that.
    const int position = std::min(CurrentJob.progress.StepsTaken(), CurrentJob.totalSteps);
    const HWND bar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
    if (SendMessageW(bar, PBM_GETPOS, 0, 0) != position) {
        SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    }
}

void PaintFinalProgress(HWND dialog) {
    KillTimer(dialog, ProgressRepaintTimer);
    RepaintProgress(dialog);
    for (int id : {IDC_PROGRESS_NAME, IDC_PROGRESS_BAR}) {
        RedrawWindow(GetDlgItem(dialog, id), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    }
}
