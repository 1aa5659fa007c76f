#include "dialogs/hyperlink_static.h"

#include "handles/device_context.h"
#include "handles/gdi_selection.h"

int linkHovering = 0;
HCURSOR handCursor = nullptr;
HCURSOR arrowCursor = nullptr;

namespace {

constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr int kPaintTextUnits = 1024;
constexpr UINT kLinkTextFormat = DT_WORDBREAK | DT_VCENTER;

LRESULT OnSetCursor(HWND control) {
    if (linkHovering != 0) {
        return 0;
    }
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = control;
    linkHovering = TrackMouseEvent(&track);
    if (!handCursor) {
        handCursor = LoadCursorW(nullptr, IDC_HAND);
    }
    SetCursor(handCursor);
    return 0;
}

LRESULT OnMouseLeave() {
    linkHovering = 0;
    if (!arrowCursor) {
        arrowCursor = LoadCursorW(nullptr, IDC_ARROW);
    }
    SetCursor(arrowCursor);
    return 0;
}

LRESULT OnPaint(HWND control) {
    RECT area{};
    GetClientRect(control, &area);
    PaintSession paint(control);
    BackgroundModeScope transparent(paint.Get(), TRANSPARENT);
    ObjectSelection font(paint.Get(),
                         reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    wchar_t text[kPaintTextUnits] = {};
    const int length = GetWindowTextW(control, text, kPaintTextUnits);
    if (length > 0) {
        SetTextColor(paint.Get(), kLinkColour);
        DrawTextW(paint.Get(), text, length, &area, kLinkTextFormat);
    }
    return 1;
}

} // namespace

LRESULT CALLBACK HyperlinkStaticProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_USERDATA));
    switch (message) {
    case WM_SETCURSOR:
        return OnSetCursor(control);
    case WM_MOUSELEAVE:
        return OnMouseLeave();
    case WM_PAINT:
        return OnPaint(control);
    case WM_NCDESTROY:
        // A link closed under the pointer never sees its WM_MOUSELEAVE; the next link starts idle.
        linkHovering = 0;
        break;
    default:
        break;
    }
    return previous ? CallWindowProcW(previous, control, message, wParam, lParam)
                    : DefWindowProcW(control, message, wParam, lParam);
}

void InstallHyperlinkStatic(HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowLongPtrW(control, GWLP_USERDATA, GetWindowLongPtrW(control, GWLP_WNDPROC));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HyperlinkStaticProc));
}
