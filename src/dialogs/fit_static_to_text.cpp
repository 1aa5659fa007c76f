#include "dialogs/hyperlink_static.h"

#include "handles/device_context.h"
#include "handles/gdi_selection.h"

namespace {

constexpr int kFitTextUnits = 2084;

struct TextSize {
    int width;
    int height;
};

TextSize MeasureControlText(HWND control, HFONT font) {
    wchar_t text[kFitTextUnits] = {};
    const int length = GetWindowTextW(control, text, kFitTextUnits);
    WindowContext context(control);
    ObjectSelection selection(context.Get(), font);
    SIZE extent{};
    GetTextExtentPoint32W(context.Get(), text, length, &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(context.Get(), &metrics);
    return TextSize{extent.cx - metrics.tmOverhang, extent.cy};
}

int ShiftForAlignment(DWORD style, int slack) {
    if (style & SS_CENTER) {
        return slack / 2;
    }
    if (style & SS_RIGHT) {
        return slack;
    }
    return 0;
}

} // namespace

void FitStaticToText(HWND parent, int controlId, int shrinkOnly, HFONT font) {
    const HWND control = GetDlgItem(parent, controlId);
    const bool parentHasCaption =
        (static_cast<DWORD>(GetWindowLongPtrW(parent, GWL_STYLE)) & WS_CAPTION) != 0;
    const TextSize text = MeasureControlText(control, font);
    RECT client{};
    GetClientRect(control, &client);
    if (text.width < 0) {
        return;
    }
    if (shrinkOnly && text.width >= client.right) {
        return;
    }
    const int slack = client.right - text.width;

    RECT parentWindow{};
    GetWindowRect(parent, &parentWindow);
    RECT parentClient{};
    GetClientRect(parent, &parentClient);
    const int cyFrame = parentHasCaption ? GetSystemMetrics(SM_CYDLGFRAME) : 0;
    const int topInset = parentWindow.bottom - cyFrame - parentClient.bottom - parentWindow.top;

    RECT window{};
    GetWindowRect(control, &window);
    WINDOWINFO info{};
    info.cbSize = sizeof info;
    GetWindowInfo(control, &info);
    const int shift = ShiftForAlignment(info.dwStyle, slack);
    if (shift > 0) {
        const int cxFrame = parentHasCaption ? GetSystemMetrics(SM_CXDLGFRAME) : 0;
        MoveWindow(control, window.left - parentWindow.left - cxFrame + shift,
                   window.top - parentWindow.top - topInset, text.width, text.height, TRUE);
    } else {
        SetWindowPos(control, nullptr, 0, 0, text.width, text.height, SWP_NOMOVE | SWP_NOZORDER);
    }
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    InvalidateRect(control, nullptr, TRUE);
}
