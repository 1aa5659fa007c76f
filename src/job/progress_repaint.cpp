#include "job/progress_repaint.h"
#include "job/job_record.h"
#include "resource.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

namespace {

struct BarState {
    int range = 0;
    int position = 0;
};

// A free-space row's bytes on the bar, whose range is 32-bit: both counts halved until the
// expected one fits, the position held at the end when more was written than expected.
BarState ByteBar(std::uint64_t written, std::uint64_t expected) {
    int shift = 0;
    while ((expected >> shift) > static_cast<std::uint64_t>(INT_MAX)) {
        ++shift;
    }
    return BarState{static_cast<int>(expected >> shift),
                    static_cast<int>(std::min(written, expected) >> shift)};
}

// Steps until the first free-space row, then that row's bytes. Past the maximum the bar would
// start over; files made after the count must not do that.
BarState CurrentBar() {
    std::uint64_t written = 0;
    std::uint64_t expected = 0;
    if (CurrentJob.progress.ByteCount(written, expected)) {
        return ByteBar(written, expected);
    }
    return BarState{CurrentJob.totalSteps,
                    std::min(CurrentJob.progress.StepsTaken(), CurrentJob.totalSteps)};
}

} // namespace

void RepaintProgress(HWND dialog) {
    std::wstring name;
    if (CurrentJob.progress.TakeNewName(name)) {
        SetDlgItemTextW(dialog, IDC_PROGRESS_NAME, name.c_str());
    }
    const BarState state = CurrentBar();
    const HWND bar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
    if (SendMessageW(bar, PBM_GETRANGE, FALSE, 0) != state.range) {
        SendMessageW(bar, PBM_SETRANGE32, 0, state.range);
    }
    if (SendMessageW(bar, PBM_GETPOS, 0, 0) != state.position) {
        SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(state.position), 0);
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
