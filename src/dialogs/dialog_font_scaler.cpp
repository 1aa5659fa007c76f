#include "dialogs/dialog_font_scaler.h"

#include "dialogs/scaled_dialog_fonts.h"
#include "dialogs/scaling_arithmetic.h"
#include "handles/device_context.h"
#include "handles/gdi_selection.h"

DialogFontScaler FontScaler{};
const double ReferenceDpi = 96.0;

namespace {

constexpr char kMeasureLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kMeasureLetterCount = 52;
static_assert(sizeof kMeasureLetters - 1 == kMeasureLetterCount);

void MeasureScaledFont(HWND dialog, DialogFontScaler& record) {
    PaintSession paint(dialog);
    ObjectSelection selection(paint.Get(), record.scaledFont);
    TEXTMETRICA metrics{};
    GetTextMetricsA(paint.Get(), &metrics);
    SIZE extent{};
    GetTextExtentPointA(paint.Get(), kMeasureLetters, kMeasureLetterCount, &extent);
    record.fontCharHeight = metrics.tmHeight;
    record.fontCharWidth = CharWidthFromLetterExtent(extent.cx);
}

// Gives the dialog the client size that its dialog units take in the scaled font; the client
// area's top-left corner keeps its place on the screen.
void ResizeDialog(HWND dialog, const DialogFontScaler& record) {
    RECT area{0, 0, HorizontalUnitsToPixels(record.clientWidthDlu, record.fontCharWidth),
              VerticalUnitsToPixels(record.clientHeightDlu, record.fontCharHeight)};
    POINT topLeft{area.left, area.top};
    POINT bottomRight{area.right, area.bottom};
    ClientToScreen(dialog, &topLeft);
    ClientToScreen(dialog, &bottomRight);
    area = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    AdjustWindowRectEx(&area, style, GetMenu(dialog) != nullptr, exStyle);
    MoveWindow(dialog, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

void ScaleChild(HWND dialog, HWND child, const DialogFontScaler& record) {
    RECT window{};
    GetWindowRect(child, &window);
    POINT topLeft{window.left, window.top};
    ScreenToClient(dialog, &topLeft);
    const int xDlu = PixelsToDialogUnits(topLeft.x, 4, record.baseUnitX);
    const int yDlu = PixelsToDialogUnits(topLeft.y, 8, record.baseUnitY);
    RECT client{};
    GetClientRect(child, &client);
    const int wDlu = PixelsToDialogUnits(client.right, 4, record.baseUnitX);
    const int hDlu = PixelsToDialogUnits(client.bottom, 8, record.baseUnitY);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(record.scaledFont), TRUE);
    MoveWindow(child, HorizontalUnitsToPixels(xDlu, record.fontCharWidth),
               VerticalUnitsToPixels(yDlu, record.fontCharHeight),
               HorizontalUnitsToPixels(wDlu, record.fontCharWidth),
               VerticalUnitsToPixels(hDlu, record.fontCharHeight), TRUE);
}

} // namespace

DialogFontScaler::~DialogFontScaler() {
    if (!dialog) {
        return;
    }
    SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(previousFont), TRUE);
    if (scaledFont) {
        ForgetFontOfDialog(dialog, scaledFont);
        DeleteObject(scaledFont);
    }
    dialog = nullptr;
    scaledFont = nullptr;
    previousFont = nullptr;
}

int DisplayLogPixels(int index) {
    const CreatedContext display = OpenDisplayInfoContext();
    return GetDeviceCaps(display.Get(), index);
}

bool IsStandardDpi() {
    const CreatedContext display = OpenDisplayInfoContext();
    const int dpiX = GetDeviceCaps(display.Get(), LOGPIXELSX);
    const int dpiY = GetDeviceCaps(display.Get(), LOGPIXELSY);
    return IsStandardResolution(dpiX, dpiY);
}

void ScaleDialogFont(HWND dialog, double referenceDpi) {
    DialogFontScaler& record = FontScaler;
    ReleaseSupersededFont(record.dialog, record.scaledFont);
    record.dialog = dialog;

    RECT client{};
    GetClientRect(dialog, &client);
    RECT units{0, 0, 4, 8};
    MapDialogRect(dialog, &units);
    record.baseUnitX = units.right;
    record.baseUnitY = units.bottom;
    record.clientWidthDlu = PixelsToDialogUnits(client.right, 4, record.baseUnitX);
    record.clientHeightDlu = PixelsToDialogUnits(client.bottom, 8, record.baseUnitY);

    record.previousFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW font{};
    GetObjectW(record.previousFont, sizeof font, &font);
    const int points = PointSizeAt(font.lfHeight, DisplayLogPixels(LOGPIXELSY));
    font.lfHeight = HeightAtReferenceDpi(points, referenceDpi);
    record.scaledFont = CreateFontIndirectW(&font);
    SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(record.scaledFont), TRUE);

    MeasureScaledFont(dialog, record);
    ResizeDialog(dialog, record);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ScaleChild(dialog, child, record);
    }
    KeepFontWithDialog(dialog, record.scaledFont);
}
