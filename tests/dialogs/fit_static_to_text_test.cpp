#include "dialogs/hyperlink_static.h"
#include "link_window.h"

#include <gtest/gtest.h>

namespace {

// FitStaticToText: each case starts with the control above its sibling and nothing to repaint.
class FitStaticToTextTest : public ::testing::Test {
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

    TestFont font_;
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
