#include "job/progress_repaint.h"
#include "resource.h"

namespace {

constexpr int RepaintedControls[] = {IDC_PROGRESS_NAME, IDC_PROGRESS_BAR};

void SetRedraw(HWND dialog, bool redraw) {
    for (int id : RepaintedControls) {
        SendDlgItemMessageW(dialog, id, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
    }
}

// With redraw off a control is not painted at all, not even over the dialog's background.
void PaintNow(HWND dialog) {
    for (int id : RepaintedControls) {
        RedrawWindow(GetDlgItem(dialog, id), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    }
}

} // namespace

void HoldProgressRepaint(HWND dialog) {
    // Without a timer the controls keep painting after each report, as they would by themselves.
    if (SetTimer(dialog, ProgressRepaintTimer, ProgressRepaintPeriodMs, nullptr)) {
        SetRedraw(dialog, false);
    }
}

void RepaintProgress(HWND dialog) {
    SetRedraw(dialog, true);
    PaintNow(dialog);
    SetRedraw(dialog, false);
}

void ReleaseProgressRepaint(HWND dialog) {
    KillTimer(dialog, ProgressRepaintTimer);
    SetRedraw(dialog, true);
    PaintNow(dialog);
}
