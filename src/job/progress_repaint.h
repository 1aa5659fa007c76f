// Painting the progress dialog's name line and bar at a bounded rate while the worker runs. Every
// report still reaches the controls, synchronously and in order; the controls only stop painting
// themselves after each one, which under a busy worker costs more than the work it reports.
#pragma once

#include <windows.h>

// Timer id of the repaint on the progress dialog, and its period: at most about 30 paints a
// second.
inline constexpr UINT_PTR ProgressRepaintTimer = 1;
inline constexpr UINT ProgressRepaintPeriodMs = 33;

// The repaint timer starts and both controls stop painting on their own.
void HoldProgressRepaint(HWND dialog);

// The timer's tick: both controls paint their present state now, then stop again.
void RepaintProgress(HWND dialog);

// The timer stops and both controls paint their present state now and on their own from then on.
void ReleaseProgressRepaint(HWND dialog);
