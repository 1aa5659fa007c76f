#include "dialogs/hyperlink_static.h"
#include "link_window.h"
#include "support/ui_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HCURSOR Hand() {
    return LoadCursorW(nullptr, IDC_HAND);
}
HCURSOR Arrow() {
    return LoadCursorW(nullptr, IDC_ARROW);
}

LRESULT SendSetCursor(HWND control) {
    return SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

// Whether the link is hovered, as the pointer shows it: an idle link shows the hand on
// WM_SETCURSOR (and is hovered from then on), a hovered one leaves the pointer alone.
bool Hovered(HWND control) {
    SetCursor(Arrow());
    SendSetCursor(control);
    return GetCursor() == Arrow();
}

class HyperlinkStaticTest : public ::testing::Test {
protected:
    void SetUp() override { parentCommands.clear(); }
    void TearDown() override { SetCursorPos(5, 5); }

    TestFont font_;
};

TEST_F(HyperlinkStaticTest, HandOnEntrySwallowedWhileHoveringArrowOnLeave) {
    LinkWindow window(L"www", SS_LEFT | SS_NOTIFY, SIZE{120, 16}, true, font_.Get());
    InstallHyperlinkStatic(window.Control(), font_.Get());
    const POINT centre = window.ScreenCentre();
    SetCursorPos(centre.x, centre.y);

    SetCursor(Arrow());
    EXPECT_EQ(0, SendSetCursor(window.Control()));
    EXPECT_EQ(Hand(), GetCursor());

    // While hovering nothing sets the pointer: whatever is shown stays.
    SetCursor(Arrow());
    EXPECT_EQ(0, SendSetCursor(window.Control()));
    EXPECT_EQ(Arrow(), GetCursor());

    SetCursor(Hand());
    EXPECT_EQ(0, SendMessageW(window.Control(), WM_MOUSELEAVE, 0, 0));
    EXPECT_EQ(Arrow(), GetCursor());

    // The next entry shows the hand again.
    SendSetCursor(window.Control());
    EXPECT_EQ(Hand(), GetCursor());
}

TEST_F(HyperlinkStaticTest, ThePointerLeavingForRealEndsHovering) {
    LinkWindow window(L"www", SS_LEFT | SS_NOTIFY, SIZE{120, 16}, true, font_.Get());
    InstallHyperlinkStatic(window.Control(), font_.Get());
    const POINT centre = window.ScreenCentre();
    SetCursorPos(centre.x, centre.y);
    ASSERT_FALSE(Hovered(window.Control()));

    SetCursorPos(centre.x, centre.y + 150);
    EXPECT_TRUE(PumpUntil([&window] { return !Hovered(window.Control()); }, 5000));
}

TEST_F(HyperlinkStaticTest, ClosingTheLinksWindowEndsHovering) {
    {
        LinkWindow window(L"www", SS_LEFT | SS_NOTIFY, SIZE{120, 16}, true, font_.Get());
        InstallHyperlinkStatic(window.Control(), font_.Get());
        const POINT centre = window.ScreenCentre();
        SetCursorPos(centre.x, centre.y);
        ASSERT_FALSE(Hovered(window.Control()));
    }
    const LinkWindow next(L"www", SS_LEFT | SS_NOTIFY, SIZE{120, 16}, true, font_.Get());
    InstallHyperlinkStatic(next.Control(), font_.Get());
    EXPECT_FALSE(Hovered(next.Control())) << "the next link starts idle";
}

TEST_F(HyperlinkStaticTest, OtherMessagesReachTheStaticControl) {
    LinkWindow window(L"the link", SS_LEFT | SS_NOTIFY, SIZE{120, 16}, true, font_.Get());
    const LONG_PTR staticProc = GetWindowLongPtrW(window.Control(), GWLP_WNDPROC);
    InstallHyperlinkStatic(window.Control(), font_.Get());
    EXPECT_EQ(staticProc, GetWindowLongPtrW(window.Control(), GWLP_USERDATA));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(HyperlinkStaticProc),
              GetWindowLongPtrW(window.Control(), GWLP_WNDPROC));

    EXPECT_EQ(L"the link", WindowText(window.Control()));
    EXPECT_EQ(font_.Get(),
              reinterpret_cast<HFONT>(SendMessageW(window.Control(), WM_GETFONT, 0, 0)));
    EXPECT_EQ(HTCLIENT, SendMessageW(window.Control(), WM_NCHITTEST, 0,
                                     MAKELPARAM(window.ScreenCentre().x, window.ScreenCentre().y)));

    PostMessageW(window.Control(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageW(window.Control(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(PumpUntil([] { return !parentCommands.empty(); }, 5000));
    ASSERT_FALSE(parentCommands.empty());
    EXPECT_EQ(kLinkId, LOWORD(parentCommands.front()));
    EXPECT_EQ(STN_CLICKED, HIWORD(parentCommands.front()));
}

// Paints the link's window and counts its pixels by colour.
struct PaintedPixels {
    int blue = 0;
    int notWhite = 0;
    int neitherBlueNorWhite = 0;
    bool readable = true;
};

PaintedPixels PaintAndRead(const LinkWindow& window) {
    RedrawWindow(window.Parent(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
    PaintedPixels pixels;
    RECT client{};
    GetClientRect(window.Control(), &client);
    HDC dc = GetDC(window.Control());
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            const COLORREF colour = GetPixel(dc, x, y);
            if (colour == CLR_INVALID) {
                pixels.readable = false;
                continue;
            }
            pixels.blue += colour == RGB(0, 0, 255);
            pixels.notWhite += colour != RGB(255, 255, 255);
            // Smoothed edges blend the blue into the white: equal red and green, full blue.
            pixels.neitherBlueNorWhite +=
                GetBValue(colour) != 255 || GetRValue(colour) != GetGValue(colour);
        }
    }
    ReleaseDC(window.Control(), dc);
    return pixels;
}

TEST_F(HyperlinkStaticTest, PaintsItsTextInBlueOverTheParentsBackground) {
    LinkWindow window(L"Ferrolet link", SS_LEFT | SS_NOTIFY, SIZE{160, 20}, true, font_.Get());
    InstallHyperlinkStatic(window.Control(), font_.Get());
    const PaintedPixels pixels = PaintAndRead(window);
    ASSERT_TRUE(pixels.readable);
    EXPECT_GT(pixels.blue, 20);
    EXPECT_EQ(0, pixels.neitherBlueNorWhite) << "only the text, in blue, on the white parent";
}

TEST_F(HyperlinkStaticTest, AnEmptyTextPaintsNothing) {
    LinkWindow window(L"", SS_LEFT | SS_NOTIFY, SIZE{160, 20}, true, font_.Get());
    InstallHyperlinkStatic(window.Control(), font_.Get());
    const PaintedPixels pixels = PaintAndRead(window);
    ASSERT_TRUE(pixels.readable);
    EXPECT_EQ(0, pixels.notWhite);
}

TEST_F(HyperlinkStaticTest, PaintsAtMostTheFirst1023Characters) {
    // Spaces in a font without underline draw nothing; only a letter after them can show.
    const TestFont plain(false);
    const std::wstring within = std::wstring(1022, L' ') + L"W";
    const std::wstring beyond = std::wstring(1023, L' ') + L"W";
    LinkWindow shown(within, SS_LEFT | SS_NOTIFY, SIZE{400, 200}, false, plain.Get());
    InstallHyperlinkStatic(shown.Control(), plain.Get());
    LinkWindow cut(beyond, SS_LEFT | SS_NOTIFY, SIZE{400, 200}, false, plain.Get());
    InstallHyperlinkStatic(cut.Control(), plain.Get());
    EXPECT_GT(PaintAndRead(shown).blue, 0);
    EXPECT_EQ(0, PaintAndRead(cut).notWhite);
}

} // namespace
