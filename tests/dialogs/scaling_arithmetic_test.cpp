#include "dialogs/about_dialog.h"
#include "dialogs/scaling_arithmetic.h"

#include <gtest/gtest.h>

namespace {

TEST(IsStandardResolution, OnlyNinetySixInBothDirections) {
    EXPECT_TRUE(IsStandardResolution(96, 96));
    EXPECT_FALSE(IsStandardResolution(96, 120));
    EXPECT_FALSE(IsStandardResolution(120, 96));
    EXPECT_FALSE(IsStandardResolution(120, 120));
    EXPECT_FALSE(IsStandardResolution(72, 72));
}

TEST(PointSizeAt, TakesTheTemplateFontUpToTheNextWholePoint) {
    EXPECT_EQ(8, PointSizeAt(-13, 120));  // 7.8 points
    EXPECT_EQ(8, PointSizeAt(-16, 144));  // exactly 8
    EXPECT_EQ(9, PointSizeAt(-11, 96));   // 8.25
    EXPECT_EQ(9, PointSizeAt(-12, 96));   // exactly 9
    EXPECT_EQ(10, PointSizeAt(-16, 120)); // 9.6
}

TEST(PointSizeAt, AFontWithoutHeightHasNoPoints) {
    EXPECT_EQ(0, PointSizeAt(0, 120));
}

TEST(HeightAtReferenceDpi, RoundsToTheNearestPixel) {
    EXPECT_EQ(-11, HeightAtReferenceDpi(8, 96.0));  // 10.67
    EXPECT_EQ(-12, HeightAtReferenceDpi(9, 96.0));  // exactly 12
    EXPECT_EQ(-13, HeightAtReferenceDpi(10, 96.0)); // 13.33
    EXPECT_EQ(-11, HeightAtReferenceDpi(8, 96.9));  // the reference is truncated to 96
    EXPECT_EQ(0, HeightAtReferenceDpi(0, 96.0));
}

TEST(HeightAtReferenceDpi, BothExampleDisplaysGiveTheSameFont) {
    EXPECT_EQ(-11, HeightAtReferenceDpi(PointSizeAt(-13, 120), 96.0));
    EXPECT_EQ(-11, HeightAtReferenceDpi(PointSizeAt(-16, 144), 96.0));
}

TEST(PixelHeightAtReferenceDpi, ConvertsAPixelHeightToTheNearestPixel) {
    EXPECT_EQ(-11, PixelHeightAtReferenceDpi(-14, 120, 96.0)); // 11.2
    EXPECT_EQ(-10, PixelHeightAtReferenceDpi(-13, 120, 96.0)); // 10.4
    EXPECT_EQ(-11, PixelHeightAtReferenceDpi(-16, 144, 96.0)); // 10.67
    EXPECT_EQ(-11, PixelHeightAtReferenceDpi(-11, 96, 96.0));
    EXPECT_EQ(-14, PixelHeightAtReferenceDpi(-14, 0, 96.0)); // no resolution: left alone
}

TEST(CharWidthFromLetterExtent, RoundsTheAverageOfTheFiftyTwoLetters) {
    EXPECT_EQ(6, CharWidthFromLetterExtent(286)); // 11 per pair
    EXPECT_EQ(6, CharWidthFromLetterExtent(311)); // 311 / 26 truncates to 11
    EXPECT_EQ(6, CharWidthFromLetterExtent(312)); // 12 per pair
    EXPECT_EQ(7, CharWidthFromLetterExtent(338)); // 13 per pair rounds up
    EXPECT_EQ(0, CharWidthFromLetterExtent(0));
}

TEST(PixelsToDialogUnits, TruncatesWithoutTakingTheCeiling) {
    EXPECT_EQ(225, PixelsToDialogUnits(394, 4, 7));  // 225.14
    EXPECT_EQ(226, PixelsToDialogUnits(396, 4, 7));  // 226.29
    EXPECT_EQ(101, PixelsToDialogUnits(202, 8, 16)); // exact
    EXPECT_EQ(100, PixelsToDialogUnits(201, 8, 16)); // 100.5
}

TEST(PixelsToDialogUnits, AMissingBaseCountsAsTheUnscaledBase) {
    EXPECT_EQ(394, PixelsToDialogUnits(394, 4, 0));
    EXPECT_EQ(202, PixelsToDialogUnits(202, 8, -3));
}

TEST(UnitsToPixels, TakesEveryFractionUpToTheNextPixel) {
    EXPECT_EQ(338, HorizontalUnitsToPixels(225, 6)); // 337.5
    EXPECT_EQ(6, HorizontalUnitsToPixels(4, 6));     // exact
    EXPECT_EQ(2, HorizontalUnitsToPixels(1, 6));     // 1.5
    EXPECT_EQ(165, VerticalUnitsToPixels(101, 13));  // 164.125
    EXPECT_EQ(13, VerticalUnitsToPixels(8, 13));     // exact
    EXPECT_EQ(0, VerticalUnitsToPixels(0, 13));
}

TEST(CenteredPosition, CentresOnTheWorkArea) {
    const POINT corner = CenteredPosition(RECT{0, 0, 1920, 1040}, SIZE{369, 268});
    EXPECT_EQ(775, corner.x);
    EXPECT_EQ(386, corner.y);
}

TEST(CenteredPosition, CountsFromTheWorkAreasCorner) {
    const POINT corner = CenteredPosition(RECT{100, 40, 1380, 1024}, SIZE{400, 301});
    EXPECT_EQ(100 + 440, corner.x);
    EXPECT_EQ(40 + 341, corner.y); // 683 / 2 truncates
}

TEST(CenteredPosition, AWindowLargerThanTheAreaHangsOverBothSides) {
    const POINT corner = CenteredPosition(RECT{0, 0, 800, 600}, SIZE{803, 900});
    EXPECT_EQ(-1, corner.x); // -3 / 2 truncates toward zero
    EXPECT_EQ(-150, corner.y);
}

} // namespace
