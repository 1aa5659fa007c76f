#include "dialog_layout.h"

#include "dialogs/about_dialog.h"
#include "dialogs/dialog_font_scaler.h"
#include "job/shred_job.h"
#include "mainwindow/app_globals.h"
#include "mainwindow/main_dialog.h"
#include "mainwindow/shred_list_view.h"
#include "resource.h"
#include "support/ui_test.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

int DisplayDpi(int index) {
    HDC display = CreateICW(L"DISPLAY", nullptr, nullptr, nullptr);
    const int dpi = GetDeviceCaps(display, index);
    DeleteDC(display);
    return dpi;
}

bool FontExists(HFONT font) {
    LOGFONTW data{};
    return font && GetObjectW(font, sizeof data, &data) == sizeof data;
}

int CeilingOfQuarter(int value) {
    return (value + 3) / 4;
}
int CeilingOfEighth(int value) {
    return (value + 7) / 8;
}

// Where the scaling rule puts a rectangle whose corner and client size the dialog manager made.
RECT ScaledPlace(const ChildLayout& before, const ScalerFields& record) {
    const int x = CeilingOfQuarter(before.place.left * 4 / record.baseUnitX * record.fontCharWidth);
    const int y = CeilingOfEighth(before.place.top * 8 / record.baseUnitY * record.fontCharHeight);
    const int w =
        CeilingOfQuarter(before.client.right * 4 / record.baseUnitX * record.fontCharWidth);
    const int h =
        CeilingOfEighth(before.client.bottom * 8 / record.baseUnitY * record.fontCharHeight);
    return RECT{x, y, x + w, y + h};
}

SIZE ScaledClientSize(const DialogLayout& before, const ScalerFields& record) {
    const int widthDlu = before.client.right * 4 / record.baseUnitX;
    const int heightDlu = before.client.bottom * 8 / record.baseUnitY;
    return SIZE{CeilingOfQuarter(widthDlu * record.fontCharWidth),
                CeilingOfEighth(heightDlu * record.fontCharHeight)};
}

void ExpectRect(const RECT& expected, const RECT& actual, const std::string& what) {
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.right, actual.right) << what;
    EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

// The font a dialog's button shows: the scaled one, once the dialog is scaled.
HFONT ButtonFont(HWND dialog, int id) {
    return reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, id, WM_GETFONT, 0, 0));
}

bool IsAboutDialog(const DialogLayout& layout) {
    return layout.caption == L"About Ferrolet";
}

bool RecordIsZero() {
    const ScalerFields fields = FieldsOf(FontScaler);
    return !fields.dialog && fields.baseUnitX == 0 && fields.baseUnitY == 0 &&
           fields.clientWidthDlu == 0 && fields.clientHeightDlu == 0 && fields.fontCharWidth == 0 &&
           fields.fontCharHeight == 0 && !fields.scaledFont && !fields.previousFont;
}

// Runs the record's exit step now, as the runtime would at process exit, and leaves the
// process-wide record zero.
void RunExitStep() {
    DialogFontScaler record = FontScaler;
    FontScaler = DialogFontScaler{};
}

class FontScalerTest : public ::testing::Test {
protected:
    void SetUp() override { AppInstance = GetModuleHandleW(nullptr); }
    void TearDown() override { RunExitStep(); }
};

#define SKIP_AT_STANDARD_DPI()                                                                     \
    if (IsStandardDpi()) {                                                                         \
        GTEST_SKIP() << "the display is at 96 DPI; the 120-DPI prefix runs this";                  \
    }

// The main window, the progress dialog of an empty job run from it, and the About dialog opened
// from its button, each captured around its WM_INITDIALOG.
struct ThreeDialogs {
    std::vector<InitDialogCapture> captures;
    const InitDialogCapture* Find(const wchar_t* caption) const {
        for (const InitDialogCapture& capture : captures) {
            if (capture.before.caption == caption) {
                return &capture;
            }
        }
        return nullptr;
    }
};

ThreeDialogs OpenThreeDialogs(const std::function<void(HWND main)>& whileMainIsOpen = {}) {
    InitDialogRecorder recorder;
    EXPECT_TRUE(recorder.Hooked());
    RunModalDialog(IDD_MAIN, MainDialog, [&](HWND main) {
        ShredListView list(main);
        RunShredJob(list);
        const HWND about =
            CreateDialogParamW(AppInstance, MAKEINTRESOURCEW(IDD_ABOUT), main, AboutDialog, 0);
        EXPECT_NE(nullptr, about);
        DestroyWindow(about);
        if (whileMainIsOpen) {
            whileMainIsOpen(main);
        }
        PostDialogButton(main, IDC_EXIT);
    });
    ThreeDialogs result;
    result.captures = recorder.Captures();
    return result;
}

TEST_F(FontScalerTest, TheDisplayIsTheOneTheRunAskedFor) {
    const char* wanted = std::getenv("FERROLET_WINE_DPI");
    const int dpiX = DisplayDpi(LOGPIXELSX);
    const int dpiY = DisplayDpi(LOGPIXELSY);
    if (wanted) {
        EXPECT_EQ(std::atoi(wanted), dpiY);
        EXPECT_EQ(std::atoi(wanted), dpiX);
    }
    EXPECT_EQ(dpiX == 96 && dpiY == 96, IsStandardDpi());
}

TEST_F(FontScalerTest, AtStandardDpiNoDialogIsScaled) {
    if (!IsStandardDpi()) {
        GTEST_SKIP() << "the display is not at 96 DPI";
    }
    const ThreeDialogs dialogs = OpenThreeDialogs();
    ASSERT_EQ(3u, dialogs.captures.size());
    for (const InitDialogCapture& capture : dialogs.captures) {
        EXPECT_EQ(nullptr, capture.record.dialog);
        EXPECT_EQ(capture.before.client.right, capture.after.client.right);
        EXPECT_EQ(capture.before.client.bottom, capture.after.client.bottom);
        for (const ChildLayout& before : capture.before.children) {
            const ChildLayout* after = FindChild(capture.after, before.window);
            ASSERT_NE(nullptr, after);
            if (IsAboutDialog(capture.before) &&
                (before.id == IDC_ABOUT_LINK || before.id == IDC_ABOUT_TITLE)) {
                continue; // the About dialog's own fonts, and its link fitted to its text
            }
            EXPECT_EQ(before.font, after->font);
            ExpectRect(before.place, after->place, "child " + std::to_string(before.id));
        }
    }
    EXPECT_TRUE(RecordIsZero());
}

TEST_F(FontScalerTest, EveryDialogAndItsChildrenAreLaidOutInTheScaledFont) {
    SKIP_AT_STANDARD_DPI();
    const ThreeDialogs dialogs = OpenThreeDialogs();
    ASSERT_EQ(3u, dialogs.captures.size());
    for (const InitDialogCapture& capture : dialogs.captures) {
        const ScalerFields& record = capture.record;
        const DialogLayout& before = capture.before;
        const DialogLayout& after = capture.after;
        SCOPED_TRACE(std::string(before.caption.begin(), before.caption.end()));
        ASSERT_EQ(before.dialog, record.dialog);

        EXPECT_EQ(before.baseUnits.right, record.baseUnitX);
        EXPECT_EQ(before.baseUnits.bottom, record.baseUnitY);
        EXPECT_EQ(before.client.right * 4 / before.baseUnits.right, record.clientWidthDlu);
        EXPECT_EQ(before.client.bottom * 8 / before.baseUnits.bottom, record.clientHeightDlu);
        EXPECT_EQ(before.font, record.previousFont);

        // The template's 8 points, re-created at the pixel height they have at 96 DPI.
        const LOGFONTW& previous = capture.previousFontData;
        const LOGFONTW& scaled = capture.scaledFontData;
        EXPECT_EQ(-MulDiv(8, DisplayDpi(LOGPIXELSY), 72), previous.lfHeight);
        EXPECT_EQ(-11, scaled.lfHeight);
        EXPECT_EQ(std::wstring(previous.lfFaceName), std::wstring(scaled.lfFaceName));
        EXPECT_EQ(previous.lfWeight, scaled.lfWeight);
        EXPECT_EQ(previous.lfCharSet, scaled.lfCharSet);
        const FontUnits& units = capture.scaledFontUnits;
        EXPECT_EQ(units.charWidth, record.fontCharWidth);
        EXPECT_EQ(units.charHeight, record.fontCharHeight);

        const SIZE client = ScaledClientSize(before, record);
        EXPECT_EQ(client.cx, after.client.right);
        EXPECT_EQ(client.cy, after.client.bottom);

        for (const ChildLayout& child : before.children) {
            const ChildLayout* moved = FindChild(after, child.window);
            ASSERT_NE(nullptr, moved);
            if (!(IsAboutDialog(before) &&
                  (child.id == IDC_ABOUT_LINK || child.id == IDC_ABOUT_TITLE))) {
                // Statics without text (the icon, the etched line) keep no font.
                EXPECT_EQ(child.font ? record.scaledFont : nullptr, moved->font)
                    << "child " << child.id;
            }
            const RECT expected = ScaledPlace(child, record);
            if (child.id == IDC_ABOUT_LINK && IsAboutDialog(before)) {
                // Fitted to its text afterwards: only its corner stays where the rule put it.
                EXPECT_EQ(expected.left, moved->place.left);
                EXPECT_EQ(expected.top, moved->place.top);
                continue;
            }
            ExpectRect(expected, moved->place, "child " + std::to_string(child.id));
        }
    }
}

TEST_F(FontScalerTest, MainWindowAndProgressDialogKeepTheirClientCorner) {
    SKIP_AT_STANDARD_DPI();
    const ThreeDialogs dialogs = OpenThreeDialogs();
    for (const wchar_t* caption : {L"Ferrolet Free v1.0", L"Shredding Files..."}) {
        const InitDialogCapture* capture = dialogs.Find(caption);
        ASSERT_NE(nullptr, capture) << "no dialog captioned " << std::string(caption, caption + 8);
        EXPECT_EQ(capture->before.clientOrigin.x, capture->after.clientOrigin.x);
        EXPECT_EQ(capture->before.clientOrigin.y, capture->after.clientOrigin.y);
    }
}

TEST_F(FontScalerTest, StatusBarSpansTheScaledClientWidth) {
    SKIP_AT_STANDARD_DPI();
    RECT client{};
    RECT bar{};
    std::vector<int> edges(2, 0);
    OpenThreeDialogs([&](HWND main) {
        GetClientRect(main, &client);
        const HWND status = GetDlgItem(main, IDC_STATUS_BAR);
        ASSERT_NE(nullptr, status);
        GetWindowRect(status, &bar);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&bar), 2);
        ASSERT_EQ(2, SendMessageW(status, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges.data())));
    });
    const InitDialogCapture* main = OpenThreeDialogs().Find(L"Ferrolet Free v1.0");
    ASSERT_NE(nullptr, main);
    const SIZE scaled = ScaledClientSize(main->before, main->record);
    EXPECT_EQ(scaled.cx, client.right);
    EXPECT_EQ(client.right * 88 / 100, edges[0]);
    EXPECT_EQ(client.right, edges[1]);
    EXPECT_EQ(0, bar.left);
    EXPECT_EQ(client.right, bar.right);
    EXPECT_EQ(client.bottom, bar.bottom);
}

// The fonts sent to one window with WM_SETFONT while a hook is set. A dialog's own WM_GETFONT
// cannot show them: Wine's dialogs ignore WM_SETFONT.
HWND fontWatchedWindow = nullptr;
std::vector<WPARAM> fontsSent;

LRESULT CALLBACK WatchFontsSent(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SETFONT && call->hwnd == fontWatchedWindow) {
        fontsSent.push_back(call->wParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(FontScalerTest, ExitStepGivesTheLastDialogItsFontBackAndDeletesTheScaledOne) {
    SKIP_AT_STANDARD_DPI();
    RunModalDialog(IDD_ABOUT, AboutDialog, [](HWND about) {
        const ScalerFields scaled = FieldsOf(FontScaler);
        ASSERT_EQ(about, scaled.dialog);
        ASSERT_TRUE(FontExists(scaled.scaledFont));
        EXPECT_EQ(scaled.scaledFont,
                  reinterpret_cast<HFONT>(SendDlgItemMessageW(about, IDOK, WM_GETFONT, 0, 0)));

        fontWatchedWindow = about;
        fontsSent.clear();
        {
            const WindowsHook hook(
                SetWindowsHookExW(WH_CALLWNDPROC, WatchFontsSent, nullptr, GetCurrentThreadId()));
            RunExitStep();
        }

        EXPECT_EQ(std::vector<WPARAM>{reinterpret_cast<WPARAM>(scaled.previousFont)}, fontsSent);
        EXPECT_FALSE(FontExists(scaled.scaledFont));
        EXPECT_TRUE(FontExists(scaled.previousFont));
        EXPECT_TRUE(RecordIsZero());
        PostDialogButton(about, IDOK);
    });
}

TEST_F(FontScalerTest, ExitStepWithoutAScalingDoesNothing) {
    ASSERT_TRUE(RecordIsZero());
    RunExitStep();
    EXPECT_TRUE(RecordIsZero());
}

TEST_F(FontScalerTest, EarlierScaledFontsLastExactlyAsLongAsTheirDialogs) {
    SKIP_AT_STANDARD_DPI();
    HFONT mainFont = nullptr;
    HFONT firstAboutFont = nullptr;
    HFONT secondAboutFont = nullptr;
    RunModalDialog(IDD_MAIN, MainDialog, [&](HWND main) {
        mainFont = ButtonFont(main, IDC_SHRED_NOW);

        const HWND first =
            CreateDialogParamW(AppInstance, MAKEINTRESOURCEW(IDD_ABOUT), main, AboutDialog, 0);
        firstAboutFont = ButtonFont(first, IDOK);
        EXPECT_NE(mainFont, firstAboutFont);
        EXPECT_TRUE(FontExists(mainFont)) << "the main window still shows it";
        EXPECT_EQ(mainFont, ButtonFont(main, IDC_SHRED_NOW));
        DestroyWindow(first);
        EXPECT_TRUE(FontExists(firstAboutFont)) << "the record still owns it";

        const HWND second =
            CreateDialogParamW(AppInstance, MAKEINTRESOURCEW(IDD_ABOUT), main, AboutDialog, 0);
        secondAboutFont = ButtonFont(second, IDOK);
        EXPECT_FALSE(FontExists(firstAboutFont)) << "neither its dialog nor the record needs it";
        EXPECT_TRUE(FontExists(mainFont));
        DestroyWindow(second);
        PostDialogButton(main, IDC_EXIT);
    });
    EXPECT_FALSE(FontExists(mainFont)) << "deleted with the main window";
    EXPECT_TRUE(FontExists(secondAboutFont)) << "the record owns it until the exit step";
    RunExitStep();
    EXPECT_FALSE(FontExists(secondAboutFont));
}

TEST_F(FontScalerTest, ReopeningADialogScalesTheFreshOneFromTheTemplate) {
    SKIP_AT_STANDARD_DPI();
    struct Opening {
        HFONT font;
        FontUnits units;
        RECT client;
    };
    std::vector<Opening> openings;
    for (int opening = 0; opening < 2; ++opening) {
        RunModalDialog(IDD_ABOUT, AboutDialog, [&](HWND about) {
            Opening seen{ButtonFont(about, IDOK), {}, {}};
            seen.units = MeasureFont(seen.font);
            GetClientRect(about, &seen.client);
            openings.push_back(seen);
            PostMessageW(about, WM_CLOSE, 0, 0);
        });
    }
    ASSERT_EQ(2u, openings.size());
    EXPECT_EQ(openings[0].client.right, openings[1].client.right);
    EXPECT_EQ(openings[0].client.bottom, openings[1].client.bottom);
    EXPECT_EQ(openings[0].units.charWidth, openings[1].units.charWidth);
    EXPECT_EQ(openings[0].units.charHeight, openings[1].units.charHeight);
    EXPECT_FALSE(FontExists(openings[0].font)) << "replaced by the second opening";
    EXPECT_TRUE(FontExists(openings[1].font));
}

} // namespace
