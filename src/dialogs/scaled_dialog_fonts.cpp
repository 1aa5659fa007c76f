#include "dialogs/scaled_dialog_fonts.h"

#include "dialogs/dialog_font_scaler.h"

#include <commctrl.h>

namespace {

constexpr wchar_t kScaledFontProperty[] = L"Ferrolet.ScaledFont";
constexpr UINT_PTR kScaledFontSubclassId = 1;

LRESULT CALLBACK ScaledDialogSubclassProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR subclassId, DWORD_PTR) {
    if (message != WM_NCDESTROY) {
        return DefSubclassProc(dialog, message, wParam, lParam);
    }
    RemoveWindowSubclass(dialog, ScaledDialogSubclassProc, subclassId);
    const auto font = static_cast<HFONT>(RemovePropW(dialog, kScaledFontProperty));
    const LRESULT result = DefSubclassProc(dialog, message, wParam, lParam);
    if (font && font != FontScaler.scaledFont) {
        DeleteObject(font);
    }
    return result;
}

} // namespace

void KeepFontWithDialog(HWND dialog, HFONT font) {
    const HFONT earlier = FontKeptByDialog(dialog);
    if (!SetPropW(dialog, kScaledFontProperty, font)) {
        return;
    }
    SetWindowSubclass(dialog, ScaledDialogSubclassProc, kScaledFontSubclassId, 0);
    if (earlier && earlier != font) {
        DeleteObject(earlier);
    }
}

HFONT FontKeptByDialog(HWND dialog) {
    if (!dialog || !IsWindow(dialog)) {
        return nullptr;
    }
    return static_cast<HFONT>(GetPropW(dialog, kScaledFontProperty));
}

void ForgetFontOfDialog(HWND dialog, HFONT font) {
    if (font && FontKeptByDialog(dialog) == font) {
        RemovePropW(dialog, kScaledFontProperty);
    }
}

void ReleaseSupersededFont(HWND dialog, HFONT font) {
    if (font && FontKeptByDialog(dialog) != font) {
        DeleteObject(font);
    }
}
