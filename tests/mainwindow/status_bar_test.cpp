#include "mainwindow/status_bar.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(StatusBarParts, FirstPartTakesEightyEightPercentRoundedDown) {
    EXPECT_EQ((std::array<int, 2>{524, 596}), StatusBarPartEdges(596));
    EXPECT_EQ((std::array<int, 2>{523, 595}), StatusBarPartEdges(595));
    EXPECT_EQ((std::array<int, 2>{0, 0}), StatusBarPartEdges(0));
    EXPECT_EQ((std::array<int, 2>{1, 2}), StatusBarPartEdges(2));
}

} // namespace
