#include "dialogs/about_dialog.h"

#include "dialogs/dialog_font_scaler.h"
#include "dialogs/hyperlink_static.h"
#include "dialogs/scaling_arithmetic.h"
#include "handles/gdi_object.h"
#include "resource.h"

#include <cstddef>

HFONT linkFont = nullptr;
HFONT titleFont = nullptr;
OpenWebPageFunction OpenWebPage = OpenWebPageAsDesktopUser;

namespace {

// What linkFont and titleFont name while the dialog is open.
GdiObject<HFONT> linkFontOwner;
GdiObject<HFONT> titleFontOwner;

// NONCLIENTMETRICSW without its last member (iPaddedBorderWidth), as older systems expect it.
constexpr UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
static_assert(kNonClientMetricsSize == 500);

// The system's message font. A dialog that the scaler laid out at the reference resolution gets
// it at the pixel height it has there too, or the address would overflow its scaled link.
LOGFONTW MessageFont(HWND dialog) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0);
    LOGFONTW font = metrics.lfMessageFont;
    if (FontScaler.dialog == dialog) {
        font.lfHeight =
            PixelHeightAtReferenceDpi(font.lfHeight, DisplayLogPixels(LOGPIXELSY), ReferenceDpi);
    }
    return font;
}

void CreateAboutFonts(HWND dialog) {
    LOGFONTW font = MessageFont(dialog);
    font.lfUnderline = 1;
    linkFontOwner = GdiObject<HFONT>(CreateFontIndirectW(&font));
    font.lfUnderline = 0;
    font.lfWeight = FW_BOLD;
    titleFontOwner = GdiObject<HFONT>(CreateFontIndirectW(&font));
    linkFont = linkFontOwner.Get();
    titleFont = titleFontOwner.Get();
}

void DeleteAboutFonts() {
    linkFont = nullptr;
    titleFont = nullptr;
    linkFontOwner.Reset();
    titleFontOwner.Reset();
}

} // namespace

POINT CenteredPosition(const RECT& workArea, SIZE window) {
    const LONG areaWidth = workArea.right - workArea.left;
    const LONG areaHeight = workArea.bottom - workArea.top;
    return POINT{workArea.left + (areaWidth - window.cx) / 2,
                 workArea.top + (areaHeight - window.cy) / 2};
}

namespace {

void CentreOnWorkArea(HWND dialog) {
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT window{};
    GetWindowRect(dialog, &window);
    const POINT corner =
        CenteredPosition(workArea, SIZE{window.right - window.left, window.bottom - window.top});
    SetWindowPos(dialog, HWND_TOP, corner.x, corner.y, 0, 0, SWP_NOSIZE);
}

INT_PTR OnInitDialog(HWND dialog) {
    ScaleDialogIfNeeded(dialog);
    CreateAboutFonts(dialog);
    const HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    SetWindowTextW(link, ProductWebAddress);
    InstallHyperlinkStatic(link, linkFont);
    FitStaticToText(dialog, IDC_ABOUT_LINK, 1, linkFont);
    SendDlgItemMessageW(dialog, IDC_ABOUT_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont),
                        FALSE);
    CentreOnWorkArea(dialog);
    SetDlgItemTextW(dialog, IDC_ABOUT_NOTICE, AboutNoticeText().c_str());
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, WORD controlId, WORD code) {
    switch (controlId) {
    case IDOK:
    case IDCANCEL:
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        return TRUE;
    case IDC_ABOUT_LINK:
        // A double-click also reports STN_DBLCLK after its first click's STN_CLICKED; only the
        // click opens the page, once.
        if (code == STN_CLICKED) {
            OpenWebPage(dialog, ProductWebAddress);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR OnClose(HWND dialog) {
    DeleteAboutFonts();
    EndDialog(dialog, 0);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog);
        case WM_COMMAND:
            return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        case WM_CLOSE:
            return OnClose(dialog);
        case WM_DESTROY:
            // Closed some other way than WM_CLOSE (its owner destroyed, for instance).
            DeleteAboutFonts();
            return FALSE;
        default:
            return FALSE;
        }
    } catch (...) {
        return FALSE;
    }
}
