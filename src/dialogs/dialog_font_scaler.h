// Re-lays out a dialog in the pixel size its template font has at 96 DPI.
#pragma once

#include <windows.h>

struct DialogFontScaler {
    HWND dialog;
    int baseUnitX;
    int baseUnitY;
    int clientWidthDlu;
    int clientHeightDlu;
    int fontCharWidth;
    int fontCharHeight;
    HFONT scaledFont;
    HFONT previousFont;

    // At process exit: gives the last scaled dialog its previous font back, deletes the font.
    ~DialogFontScaler();
};

extern DialogFontScaler FontScaler;
extern const double ReferenceDpi;

// LOGPIXELSX or LOGPIXELSY of the display, asked afresh.
int DisplayLogPixels(int index);

bool IsStandardDpi();
void ScaleDialogFont(HWND dialog, double referenceDpi);

// What every dialog does first at WM_INITDIALOG.
inline void ScaleDialogIfNeeded(HWND dialog) {
    if (!IsStandardDpi()) {
        ScaleDialogFont(dialog, ReferenceDpi);
    }
}
