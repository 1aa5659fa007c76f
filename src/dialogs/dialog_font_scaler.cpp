#include "dialogs/dialog_font_scaler.h"

DialogFontScaler FontScaler{};
const double ReferenceDpi = 96.0;

DialogFontScaler::~DialogFontScaler() = default;

bool IsStandardDpi() {
    return true;
}

void ScaleDialogFont(HWND, double) {}
