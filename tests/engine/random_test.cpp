#include "engine/random.h"
#include "support/fresh_thread.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(NextRandom, FreshThreadStartsTheKnownSequence) {
    OnFreshThread([] {
        const std::array<int, 6> expected{41, 18467, 6334, 26500, 19169, 15724};
        for (int value : expected) {
            EXPECT_EQ(value, NextRandom());
        }
    });
}

TEST(NextRandom, EveryThreadHasItsOwnState) {
    OnFreshThread([] {
        NextRandom();
        NextRandom();
        int inner = 0;
        OnFreshThread([&] { inner = NextRandom(); });
        EXPECT_EQ(41, inner);
        EXPECT_EQ(6334, NextRandom());
    });
}

TEST(FillRandom, FirstBytesAreTheLowBytesOfTheFirstDraws) {
    OnFreshThread([] {
        std::array<std::uint8_t, 4> bytes{};
        FillRandom(bytes.data(), bytes.size());
        EXPECT_EQ(0x29, bytes[0]);
        EXPECT_EQ(0x23, bytes[1]);
        EXPECT_EQ(0xBE, bytes[2]);
        EXPECT_EQ(0x84, bytes[3]);
        EXPECT_EQ(19169, NextRandom());
    });
}

} // namespace
