// Painting the worker's published progress on the dialog's name line and bar at a bounded rate:
// the controls are set from the dialog's own timer, never by the worker.
#pragma once

#include <windows.h>

// Timer id of the painting on the progress dialog, and its period: about 30 times a second.
inline constexpr UINT_PTR ProgressRepaintTimer = 1;
inline constexpr UINT ProgressRepaintPeriodMs = 33;

// The timer's tick: the newest name, if any, and the steps taken so far, or once a free-space row
// runs the bytes it has written; the bar held at its end when more come than were counted.
void RepaintProgress(HWND dialog);

// The last state on screen now, before the dialog goes.
void PaintFinalProgress(HWND dialog);
