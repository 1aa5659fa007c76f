// A static text control turned into a web link: blue text, a hand pointer while over it, and the
// static's own click notification (it needs SS_NOTIFY).
#pragma once

#include <windows.h>

// Nonzero while a leave-tracking request of the link is active (the TrackMouseEvent result).
extern int linkHovering;
// The shared system pointers, loaded on first use and kept for the life of the process.
extern HCURSOR handCursor;
extern HCURSOR arrowCursor;

// The link's window procedure; the control's previous procedure lives in its GWLP_USERDATA.
LRESULT CALLBACK HyperlinkStaticProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// Gives the control its font, keeps its procedure in GWLP_USERDATA and installs the link's.
void InstallHyperlinkStatic(HWND control, HFONT font);

// Sizes a static control to the extent of its text in font. With shrinkOnly a control at least as
// wide as its text is left alone. A centred or right-aligned text keeps its place.
void FitStaticToText(HWND parent, int controlId, int shrinkOnly, HFONT font);
