#include "dialogs/about_dialog.h"
#include "dialogs/dialog_font_scaler.h"
#include "dialogs/hyperlink_static.h"
#include "handles/windows_hook.h"
#include "resource.h"
#include "support/dialog_template.h"
#include "support/ui_test.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

bool FontExists(HFONT font) {
    LOGFONTW data{};
    return font && GetObjectW(font, sizeof data, &data) == sizeof data;
}

LOGFONTW FontData(HFONT font) {
    LOGFONTW data{};
    GetObjectW(font, sizeof data, &data);
    return data;
}

HFONT FontOf(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

// Every call of the web-page seam, instead of a browser.
struct OpenedPage {
    HWND owner;
    std::wstring address;
};
std::vector<OpenedPage> openedPages;

WebPageLaunch RecordOpenedPage(HWND owner, const wchar_t* address) {
    openedPages.push_back(OpenedPage{owner, address ? address : L""});
    return WebPageLaunch::AddressShown;
}

// What one opening of the dialog showed.
struct AboutSeen {
    HWND dialog = nullptr;
    HWND link = nullptr;
    HFONT linkFont = nullptr;
    HFONT titleFont = nullptr;
    bool linkInstalled = false;
    bool fontsExistWhileOpen = false;
};

AboutSeen SeeAbout(HWND dialog) {
    AboutSeen seen;
    seen.dialog = dialog;
    seen.link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    seen.linkFont = FontOf(seen.link);
    seen.titleFont = FontOf(GetDlgItem(dialog, IDC_ABOUT_TITLE));
    seen.linkInstalled = GetWindowLongPtrW(seen.link, GWLP_WNDPROC) ==
                             reinterpret_cast<LONG_PTR>(HyperlinkStaticProc) &&
                         GetWindowLongPtrW(seen.link, GWLP_USERDATA) != 0;
    seen.fontsExistWhileOpen =
        FontExists(seen.linkFont) && FontExists(seen.titleFont) && seen.linkFont != seen.titleFont;
    return seen;
}

// Nothing has closed the dialog or asked it to close: closing deletes its fonts, and every way
// of closing goes through a posted WM_CLOSE.
bool StillOpen(HWND dialog) {
    MSG queued{};
    return IsWindow(dialog) && FontExists(FontOf(GetDlgItem(dialog, IDC_ABOUT_LINK))) &&
           FontExists(FontOf(GetDlgItem(dialog, IDC_ABOUT_TITLE))) &&
           !PeekMessageW(&queued, dialog, WM_CLOSE, WM_CLOSE, PM_NOREMOVE);
}

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        openedPages.clear();
        OpenWebPage = RecordOpenedPage;
    }
    void TearDown() override { OpenWebPage = OpenWebPageAsDesktopUser; }

    // Opens the dialog, looks at it, then closes it with close(dialog); returns what was seen
    // and checks that the dialog ended with 0 and took both fonts with it.
    static AboutSeen OpenAndClose(const std::function<void(HWND)>& close) {
        AboutSeen seen;
        const INT_PTR result = RunModalDialog(IDD_ABOUT, AboutDialog, [&](HWND dialog) {
            seen = SeeAbout(dialog);
            close(dialog);
        });
        EXPECT_EQ(0, result);
        EXPECT_FALSE(IsWindow(seen.dialog));
        EXPECT_FALSE(FontExists(seen.linkFont)) << "link font left behind";
        EXPECT_FALSE(FontExists(seen.titleFont)) << "title font left behind";
        return seen;
    }
};

TEST_F(AboutDialogTest, EachOpeningMakesTwoFontsAndANewLink) {
    std::vector<AboutSeen> openings;
    for (int opening = 0; opening < 2; ++opening) {
        openings.push_back(OpenAndClose([](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }));
    }
    for (const AboutSeen& seen : openings) {
        EXPECT_TRUE(seen.fontsExistWhileOpen);
        EXPECT_TRUE(seen.linkInstalled);
    }
    EXPECT_NE(openings[0].dialog, openings[1].dialog);
    EXPECT_NE(openings[0].link, openings[1].link);
}

TEST_F(AboutDialogTest, FontsFollowTheSystemMessageFont) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const LOGFONTW& message = metrics.lfMessageFont;
    // On a display that is not at 96 DPI the dialog is laid out in its 96-DPI pixel size, and the
    // message font comes at its 96-DPI pixel height with it.
    HDC display = CreateICW(L"DISPLAY", nullptr, nullptr, nullptr);
    const int dpi = GetDeviceCaps(display, LOGPIXELSY);
    DeleteDC(display);
    const LONG height = IsStandardDpi() ? message.lfHeight : MulDiv(message.lfHeight, 96, dpi);
    RunModalDialog(IDD_ABOUT, AboutDialog, [&](HWND dialog) {
        const LOGFONTW link = FontData(FontOf(GetDlgItem(dialog, IDC_ABOUT_LINK)));
        const LOGFONTW title = FontData(FontOf(GetDlgItem(dialog, IDC_ABOUT_TITLE)));
        EXPECT_EQ(std::wstring(message.lfFaceName), std::wstring(link.lfFaceName));
        EXPECT_EQ(height, link.lfHeight);
        EXPECT_EQ(message.lfWeight, link.lfWeight);
        EXPECT_EQ(1, link.lfUnderline);
        EXPECT_EQ(std::wstring(message.lfFaceName), std::wstring(title.lfFaceName));
        EXPECT_EQ(height, title.lfHeight);
        EXPECT_EQ(700, title.lfWeight);
        EXPECT_EQ(0, title.lfUnderline);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
}

TEST_F(AboutDialogTest, EnterEscOkAndTheCloseBoxAllCloseIt) {
    OpenAndClose([](HWND dialog) {
        const HWND focus = GetFocus();
        EXPECT_EQ(GetDlgItem(dialog, IDOK), focus) << "the OK button takes the focus";
        PostMessageW(focus ? focus : dialog, WM_KEYDOWN, VK_RETURN, 0);
    });
    OpenAndClose([](HWND dialog) {
        const HWND focus = GetFocus();
        PostMessageW(focus ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    OpenAndClose([](HWND dialog) { PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); });
    OpenAndClose([](HWND dialog) { PostDialogButton(dialog, IDCANCEL); });
    OpenAndClose([](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_TRUE(openedPages.empty());
}

// The notice starts at its first line, and the edit box is open to changes.
TEST_F(AboutDialogTest, TheNoticeStartsAtItsFirstLineAndIsEditable) {
    RunModalDialog(IDD_ABOUT, AboutDialog, [](HWND dialog) {
        EXPECT_EQ(0, SendDlgItemMessageW(dialog, IDC_ABOUT_NOTICE, EM_GETFIRSTVISIBLELINE, 0, 0));
        EXPECT_FALSE(GetWindowLongPtrW(GetDlgItem(dialog, IDC_ABOUT_NOTICE), GWL_STYLE) &
                     ES_READONLY);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
}

TEST_F(AboutDialogTest, IsCentredOnTheWorkArea) {
    RECT area{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    RunModalDialog(IDD_ABOUT, AboutDialog, [&](HWND dialog) {
        RECT window{};
        GetWindowRect(dialog, &window);
        const LONG width = window.right - window.left;
        const LONG height = window.bottom - window.top;
        EXPECT_EQ(area.left + (area.right - area.left - width) / 2, window.left);
        EXPECT_EQ(area.top + (area.bottom - area.top - height) / 2, window.top);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
}

TEST_F(AboutDialogTest, TheLinkIsFittedToTheWholeAddress) {
    RunModalDialog(IDD_ABOUT, AboutDialog, [](HWND dialog) {
        const HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
        HDC dc = GetDC(link);
        HGDIOBJ old = SelectObject(dc, FontOf(link));
        SIZE extent{};
        const std::wstring address = WindowText(link);
        GetTextExtentPoint32W(dc, address.c_str(), static_cast<int>(address.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(link, dc);

        RECT client{};
        GetClientRect(link, &client);
        EXPECT_EQ(extent.cx, client.right);
        EXPECT_EQ(extent.cy, client.bottom);
        EXPECT_EQ(nullptr, GetWindow(link, GW_HWNDNEXT)) << "the fitted link goes to the bottom";

        // The address fits inside the dialog: nothing of it is cut off.
        RECT place{};
        GetWindowRect(link, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        RECT inside{};
        GetClientRect(dialog, &inside);
        EXPECT_LE(place.right, inside.right);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
}

TEST_F(AboutDialogTest, OnlyAClickOnTheLinkOpensThePageAndTheDialogStaysOpen) {
    bool stillOpen = false;
    HWND owner = nullptr;
    std::wstring address;
    RunModalDialog(IDD_ABOUT, AboutDialog, [&](HWND dialog) {
        owner = dialog;
        const HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
        address = WindowText(link);
        for (WORD code : {WORD{STN_DBLCLK}, WORD{STN_ENABLE}, WORD{0x1234}, WORD{STN_CLICKED}}) {
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LINK, code),
                         reinterpret_cast<LPARAM>(link));
        }
        stillOpen = StillOpen(dialog);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(1u, openedPages.size());
    EXPECT_EQ(owner, openedPages[0].owner);
    EXPECT_EQ(address, openedPages[0].address) << "the page the link shows";
}

// The notifications a control sent its dialog, caught on their way in.
std::vector<WORD> linkNotifications;

LRESULT CALLBACK WatchLinkNotifications(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_COMMAND &&
        LOWORD(call->wParam) == IDC_ABOUT_LINK) {
        linkNotifications.push_back(HIWORD(call->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A double-click as the system delivers it to the control under the pointer: a click, then the
// second press as WM_LBUTTONDBLCLK (the static's class asks for double-clicks).
void PostDoubleClick(HWND control) {
    const LPARAM at = MAKELPARAM(3, 3);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
    PostMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
}

// The link itself turns the double-click into a click and then a double-click notification.
TEST_F(AboutDialogTest, ADoubleClickOnTheLinkOpensThePageOnce) {
    linkNotifications.clear();
    {
        const WindowsHook hook(SetWindowsHookExW(WH_CALLWNDPROC, WatchLinkNotifications, nullptr,
                                                 GetCurrentThreadId()));
        ASSERT_TRUE(hook);
        RunModalDialog(IDD_ABOUT, AboutDialog, [](HWND dialog) {
            PostDoubleClick(GetDlgItem(dialog, IDC_ABOUT_LINK));
            PumpUntil([] { return linkNotifications.size() >= 2; }, 5000);
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
    }
    EXPECT_EQ((std::vector<WORD>{STN_CLICKED, STN_DBLCLK}), linkNotifications);
    EXPECT_EQ(1u, openedPages.size());
}

TEST_F(AboutDialogTest, OtherCommandsAreNotHandled) {
    RunModalDialog(IDD_ABOUT, AboutDialog, [](HWND dialog) {
        EXPECT_EQ(FALSE, AboutDialog(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_TITLE, 0), 0));
        EXPECT_EQ(FALSE,
                  AboutDialog(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_NOTICE, EN_CHANGE), 0));
        EXPECT_TRUE(StillOpen(dialog));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(openedPages.empty());
}

TEST_F(AboutDialogTest, ADialogDestroyedWithoutClosingStillFreesItsFonts) {
    const HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT),
                                           nullptr, AboutDialog, 0);
    ASSERT_NE(nullptr, dialog);
    const HFONT link = FontOf(GetDlgItem(dialog, IDC_ABOUT_LINK));
    const HFONT title = FontOf(GetDlgItem(dialog, IDC_ABOUT_TITLE));
    EXPECT_TRUE(FontExists(link) && FontExists(title));
    DestroyWindow(dialog);
    EXPECT_FALSE(FontExists(link));
    EXPECT_FALSE(FontExists(title));
}

TEST(AboutTemplate, IsTheClassicDialogWithItsSixControls) {
    const DialogTemplate dialog = ReadDialogTemplate(IDD_ABOUT);
    EXPECT_FALSE(dialog.extended);
    EXPECT_EQ(0x80C800C0u, dialog.style);
    EXPECT_EQ(0u, dialog.exStyle);
    EXPECT_EQ((std::vector<short>{0, 0, 243, 157}),
              (std::vector<short>{dialog.x, dialog.y, dialog.cx, dialog.cy}));
    EXPECT_EQ(L"", dialog.menu);
    EXPECT_EQ(L"", dialog.windowClass);
    EXPECT_EQ(L"About Ferrolet", dialog.title);
    EXPECT_EQ(8, dialog.pointSize);
    EXPECT_EQ(L"MS Shell Dlg", dialog.typeface);
    const std::vector<TemplateControl> expected{
        {-1, L"#130", L"", 0, 125, 243, 1, 0x50000010},
        {IDOK, L"#128", L"&OK", 166, 133, 70, 16, 0x50010001},
        {IDC_ABOUT_LINK, L"#130", L"", 33, 42, 188, 10, 0x50020100},
        {IDC_ABOUT_TITLE, L"#130", L"Ferrolet Free v1.0", 33, 9, 115, 9, 0x50020000},
        {IDC_ABOUT_NOTICE, L"#129", L"", 6, 67, 231, 49, 0x50A10004},
        {-1, L"#130", L"#107", 7, 8, 20, 20, 0x50000003},
    };
    EXPECT_EQ(expected, dialog.controls);
}

TEST(AboutTemplate, TheIconShowsTheProgramsIcon) {
    const HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT),
                                           nullptr, AboutDialog, 0);
    ASSERT_NE(nullptr, dialog);
    HWND icon = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            icon = child;
        }
    }
    ASSERT_NE(nullptr, icon);
    EXPECT_NE(0, SendMessageW(icon, STM_GETICON, 0, 0));
    DestroyWindow(dialog);
}

} // namespace
