// Who deletes the fonts that scalings create. The scaler's record owns only the font of the latest
// scaling; every scaled dialog also keeps a claim on its own font (a window property), and a
// subclass deletes that font after the dialog and all its children are gone (WM_NCDESTROY) unless
// the record still owns it, in which case the record's exit step deletes it.
#pragma once

#include <windows.h>

// Records that dialog now shows font. A different font that the dialog kept from an earlier
// scaling is no longer shown by anyone and is deleted.
void KeepFontWithDialog(HWND dialog, HFONT font);

// The font a live dialog keeps from its scaling, or null.
HFONT FontKeptByDialog(HWND dialog);

// Drops the dialog's claim on font without deleting it (its owner deletes it).
void ForgetFontOfDialog(HWND dialog, HFONT font);

// Called before the record forgets its font for a newer scaling: the font is deleted at once
// unless its dialog is still alive and keeps it.
void ReleaseSupersededFont(HWND dialog, HFONT font);
