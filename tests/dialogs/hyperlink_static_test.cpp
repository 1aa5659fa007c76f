#include "dialogs/hyperlink_static.h"
#include "support/ui_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kLinkId = 4001;
constexpr int kSiblingId = 4002;
constexpr wchar_t kParentClass[] = L"FerroletLinkTestParent";

std::vector<WPARAM> parentCommands;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        parentCommands.push_back(wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterParentClass() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kParentClass;
    RegisterClassW(&windowClass);
}

// A top-level window with one static control (and a sibling created after it), placed on the
// screen at a known spot.
class LinkWindow {
public:
    LinkWindow(const std::wstring& text, DWORD staticStyle, SIZE controlSize, bool captioned,
               HFONT font)
        : font_(font) {
        RegisterParentClass();
        const DWORD style = WS_POPUP | WS_VISIBLE | (captioned ? WS_CAPTION | WS_SYSMENU : 0);
        const DWORD exStyle = captioned ? WS_EX_DLGMODALFRAME : 0;
        parent_ = CreateWindowExW(exStyle, kParentClass, L"Link test", style, 120, 90, 480, 260,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        control_ = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | staticStyle,
                                   kLeft, kTop, controlSize.cx, controlSize.cy, parent_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLinkId)),
                                   GetModuleHandleW(nullptr), nullptr);
        sibling_ =
            CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 200, 20, 10, parent_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSiblingId)),
                            GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        UpdateWindow(parent_);
    }
    ~LinkWindow() {
        if (IsWindow(parent_)) {
            DestroyWindow(parent_);
        }
    }
    LinkWindow(const LinkWindow&) = delete;
    LinkWindow& operator=(const LinkWindow&) = delete;

    HWND Parent() const { return parent_; }
    HWND Control() const { return control_; }
    HWND Sibling() const { return sibling_; }

    // The control's window rectangle in the parent's client coordinates.
    RECT Place() const {
        RECT place{};
        GetWindowRect(control_, &place);
        MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    POINT ScreenCentre() const {
        RECT place{};
        GetWindowRect(control_, &place);
        return POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    }

    static constexpr int kLeft = 40;
    static constexpr int kTop = 30;

private:
    HFONT font_;
    HWND parent_ = nullptr;
    HWND control_ = nullptr;
    HWND sibling_ = nullptr;
};

class TestFont {
public:
    explicit TestFont(bool underlined = true) {
        LOGFONTW data{};
        data.lfHeight = -11;
        data.lfUnderline = underlined;
        wcscpy(data.lfFaceName, L"MS Shell Dlg");
        font_ = CreateFontIndirectW(&data);
    }
    ~TestFont() { DeleteObject(font_); }
    TestFont(const TestFont&) = delete;
    TestFont& operator=(const TestFont&) = delete;
    HFONT Get() const { return font_; }

    // Width (less the overhang) and height of text in this font.
    SIZE Measure(const std::wstring& text) const {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font_);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        DeleteDC(dc);
        return SIZE{extent.cx - metrics.tmOverhang, extent.cy};
    }

private:
    HFONT font_ = nullptr;
};

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

class HyperlinkStaticTest : public ::testing::Test {
protected:
    void SetUp() override {
        linkHovering = 0;
        parentCommands.clear();
    }
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
    EXPECT_NE(0, linkHovering);
    EXPECT_EQ(Hand(), handCursor);

    // While hovering nothing sets the pointer: whatever is shown stays.
    const int tracking = linkHovering;
    SetCursor(Arrow());
    EXPECT_EQ(0, SendSetCursor(window.Control()));
    EXPECT_EQ(Arrow(), GetCursor());
    EXPECT_EQ(tracking, linkHovering);

    SetCursor(Hand());
    EXPECT_EQ(0, SendMessageW(window.Control(), WM_MOUSELEAVE, 0, 0));
    EXPECT_EQ(Arrow(), GetCursor());
    EXPECT_EQ(0, linkHovering);
    EXPECT_EQ(Arrow(), arrowCursor);

    // The next entry shows the hand again.
    SendSetCursor(window.Control());
    EXPECT_EQ(Hand(), GetCursor());
    EXPECT_NE(0, linkHovering);
}

TEST_F(HyperlinkStaticTest, ThePointerLeavingForRealEndsHovering) {
    LinkWindow window(L"www", SS_LEFT | SS_NOTIFY, SIZE{120, 16}, true, font_.Get());
    InstallHyperlinkStatic(window.Control(), font_.Get());
    const POINT centre = window.ScreenCentre();
    SetCursorPos(centre.x, centre.y);
    SendSetCursor(window.Control());
    ASSERT_NE(0, linkHovering);

    SetCursorPos(centre.x, centre.y + 150);
    EXPECT_TRUE(PumpUntil([] { return linkHovering == 0; }, 5000));
    EXPECT_EQ(Arrow(), GetCursor());
}

TEST_F(HyperlinkStaticTest, ClosingTheLinksWindowEndsHovering) {
    {
        LinkWindow window(L"www", SS_LEFT | SS_NOTIFY, SIZE{120, 16}, true, font_.Get());
        InstallHyperlinkStatic(window.Control(), font_.Get());
        const POINT centre = window.ScreenCentre();
        SetCursorPos(centre.x, centre.y);
        SendSetCursor(window.Control());
        ASSERT_NE(0, linkHovering);
    }
    EXPECT_EQ(0, linkHovering);
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

// FitStaticToText: each case starts with the control above its sibling and nothing to repaint.
class FitStaticToTextTest : public HyperlinkStaticTest {
protected:
    static void Settle(const LinkWindow& window) {
        UpdateWindow(window.Parent());
        ValidateRect(window.Control(), nullptr);
    }
    static bool NeedsRepaint(const LinkWindow& window) {
        return GetUpdateRect(window.Control(), nullptr, FALSE) != FALSE;
    }
    static bool AtTheBottom(const LinkWindow& window) {
        return GetWindow(window.Control(), GW_HWNDNEXT) == nullptr;
    }
    // The control stands at left, on its first line, with the given size.
    static void ExpectPlace(const LinkWindow& window, LONG left, LONG width, LONG height) {
        const RECT place = window.Place();
        EXPECT_EQ(left, place.left);
        EXPECT_EQ(LinkWindow::kTop, place.top);
        EXPECT_EQ(width, place.right - place.left);
        EXPECT_EQ(height, place.bottom - place.top);
    }
};

TEST_F(FitStaticToTextTest, ANarrowerTextShrinksTheControlInPlace) {
    const std::wstring text = L"ferrolet.example";
    const SIZE extent = font_.Measure(text);
    LinkWindow window(text, SS_LEFT | SS_NOTIFY, SIZE{extent.cx + 50, 30}, true, font_.Get());
    Settle(window);
    ASSERT_FALSE(AtTheBottom(window));
    FitStaticToText(window.Parent(), kLinkId, 1, font_.Get());
    ExpectPlace(window, LinkWindow::kLeft, extent.cx, extent.cy);
    EXPECT_TRUE(AtTheBottom(window));
    EXPECT_TRUE(NeedsRepaint(window));
}

TEST_F(FitStaticToTextTest, WithShrinkOnlyATextAsWideOrWiderChangesNothing) {
    const std::wstring text = L"ferrolet.example";
    const SIZE extent = font_.Measure(text);
    for (LONG width : {extent.cx, extent.cx - 1, extent.cx - 30}) {
        SCOPED_TRACE(testing::Message() << "width " << width);
        LinkWindow window(text, SS_LEFT | SS_NOTIFY, SIZE{width, 30}, true, font_.Get());
        Settle(window);
        FitStaticToText(window.Parent(), kLinkId, 1, font_.Get());
        ExpectPlace(window, LinkWindow::kLeft, width, 30);
        EXPECT_EQ(window.Sibling(), GetWindow(window.Control(), GW_HWNDNEXT));
        EXPECT_FALSE(NeedsRepaint(window));
    }
}

TEST_F(FitStaticToTextTest, WithoutShrinkOnlyAWiderTextGrowsToTheRight) {
    const std::wstring text = L"https://ferrolet.example/softwares/ferrolet.html";
    const SIZE extent = font_.Measure(text);
    for (DWORD alignment : {DWORD{SS_LEFT}, DWORD{SS_CENTER}, DWORD{SS_RIGHT}}) {
        SCOPED_TRACE(testing::Message() << "alignment " << alignment);
        LinkWindow window(text, alignment | SS_NOTIFY, SIZE{extent.cx - 40, 30}, true, font_.Get());
        Settle(window);
        FitStaticToText(window.Parent(), kLinkId, 0, font_.Get());
        ExpectPlace(window, LinkWindow::kLeft, extent.cx, extent.cy);
        EXPECT_TRUE(AtTheBottom(window));
        EXPECT_TRUE(NeedsRepaint(window));
    }
}

TEST_F(FitStaticToTextTest, CentredAndRightAlignedTextsKeepTheirPlace) {
    const std::wstring text = L"ferrolet.example";
    const SIZE extent = font_.Measure(text);
    for (bool captioned : {true, false}) {
        SCOPED_TRACE(testing::Message() << "captioned " << captioned);
        LinkWindow centred(text, SS_CENTER | SS_NOTIFY, SIZE{extent.cx + 21, 30}, captioned,
                           font_.Get());
        Settle(centred);
        FitStaticToText(centred.Parent(), kLinkId, 1, font_.Get());
        ExpectPlace(centred, LinkWindow::kLeft + 10, extent.cx, extent.cy);
        EXPECT_TRUE(AtTheBottom(centred));

        LinkWindow right(text, SS_RIGHT | SS_NOTIFY, SIZE{extent.cx + 21, 30}, captioned,
                         font_.Get());
        Settle(right);
        FitStaticToText(right.Parent(), kLinkId, 1, font_.Get());
        const RECT place = right.Place();
        EXPECT_EQ(LinkWindow::kLeft + 21, place.left);
        EXPECT_EQ(LinkWindow::kTop, place.top);
        EXPECT_EQ(extent.cx, place.right - place.left);
    }
}

} // namespace
