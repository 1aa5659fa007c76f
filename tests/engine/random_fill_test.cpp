#include "engine/random.h"
#include "engine/random_fill.h"
#include "engine/random_fill_kernels.h"
#include "support/reference_random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <numeric>
#include <string>
#include <vector>

void PrintTo(RandomFillPath path, std::ostream* out) {
    *out << RandomFillPathName(path);
}

namespace {

constexpr std::uint32_t StartingStates[] = {1u, 0u, 0xFFFFFFFFu, 0x80000000u, 0x9E3779B9u};

struct Filled {
    std::vector<std::uint8_t> bytes;
    std::uint32_t finalState;
};

// The bytes and the final state of the generator's own steps, computed apart from the engine.
Filled Expected(std::uint32_t state, std::size_t count) {
    ReferenceFilled reference = ReferenceFill(state, count);
    return Filled{std::move(reference.bytes), reference.finalState};
}

// Fills count bytes from state through path, in pieces of the given sizes (one piece of count
// when none are given). Poison around the bytes catches overruns.
Filled FillFrom(std::uint32_t state, std::size_t count, RandomFillPath path,
                const std::vector<std::size_t>& pieces = {}) {
    constexpr std::size_t Guard = 64;
    constexpr std::uint8_t Poison = 0xA5;
    std::vector<std::uint8_t> buffer(count + 2 * Guard, Poison);
    detail::ThreadRandomState() = state;
    std::vector<std::size_t> sizes = pieces.empty() ? std::vector<std::size_t>{count} : pieces;
    std::size_t offset = 0;
    for (std::size_t size : sizes) {
        FillRandomVia(path, buffer.data() + Guard + offset, size);
        offset += size;
    }
    for (std::size_t i = 0; i < Guard; ++i) {
        EXPECT_EQ(Poison, buffer[i]) << "written before the buffer at " << i;
        EXPECT_EQ(Poison, buffer[Guard + count + i]) << "written past the buffer at " << i;
    }
    Filled filled{std::vector<std::uint8_t>(buffer.begin() + Guard, buffer.begin() + Guard + count),
                  detail::ThreadRandomState()};
    return filled;
}

std::size_t FirstDifference(const std::vector<std::uint8_t>& a,
                            const std::vector<std::uint8_t>& b) {
    const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return static_cast<std::size_t>(mismatch.first - a.begin());
}

class RandomFillPathTest : public testing::TestWithParam<RandomFillPath> {
protected:
    void SetUp() override {
        if (!RandomFillPathSupported(GetParam())) {
            GTEST_SKIP() << RandomFillPathName(GetParam()) << " is not supported here";
        }
    }

    void ExpectTheSequence(std::uint32_t state, std::size_t count,
                           const std::vector<std::size_t>& pieces = {}) {
        const Filled expected = Expected(state, count);
        const Filled actual = FillFrom(state, count, GetParam(), pieces);
        ASSERT_EQ(expected.bytes.size(), actual.bytes.size());
        EXPECT_EQ(count, FirstDifference(expected.bytes, actual.bytes))
            << "first differing byte, " << count << " bytes from state " << state;
        EXPECT_EQ(expected.finalState, actual.finalState)
            << "final state, " << count << " bytes from state " << state;
    }
};

TEST_P(RandomFillPathTest, EveryLengthUpToAFewThousandBytes) {
    for (std::uint32_t state : StartingStates) {
        for (std::size_t count = 0; count <= 3000; ++count) {
            ExpectTheSequence(state, count);
            if (HasFailure()) {
                return;
            }
        }
    }
}

TEST_P(RandomFillPathTest, LengthsAroundAndAcrossSixteenMebibytes) {
    constexpr std::size_t Sixteen = 16u * 1024u * 1024u;
    for (std::size_t count : {Sixteen - 1, Sixteen, Sixteen + 1, Sixteen + 63, Sixteen + 4097}) {
        ExpectTheSequence(StartingStates[(count % 5)], count);
    }
}

TEST_P(RandomFillPathTest, ChainedCallsContinueTheSequence) {
    const std::vector<std::size_t> pieces{1,   255, 256, 4096, 3,  65, 1000, 64,
                                          127, 0,   129, 7,    31, 33, 70001};
    const std::size_t total = std::accumulate(pieces.begin(), pieces.end(), std::size_t{0});
    for (std::uint32_t state : StartingStates) {
        ExpectTheSequence(state, total, pieces);
    }
}

TEST_P(RandomFillPathTest, UnalignedDestinations) {
    const RandomFillPath path = GetParam();
    for (std::size_t offset = 1; offset < 64; offset += 7) {
        const std::vector<std::uint8_t> expected = Expected(12345u, 5000).bytes;
        std::vector<std::uint8_t> actual(5000 + offset);
        detail::ThreadRandomState() = 12345u;
        FillRandomVia(path, actual.data() + offset, expected.size());
        EXPECT_EQ(0, std::memcmp(expected.data(), actual.data() + offset, expected.size()))
            << "offset " << offset;
    }
}

TEST_P(RandomFillPathTest, ForcedPathDrivesFillRandom) {
    const RandomFillPath path = GetParam();
    ASSERT_TRUE(SetRandomFillPath(path));
    EXPECT_EQ(path, CurrentRandomFillPath());
    const Filled expected = Expected(777u, 100000);
    std::vector<std::uint8_t> actual(100000);
    detail::ThreadRandomState() = 777u;
    FillRandom(actual.data(), actual.size());
    const std::uint32_t finalState = detail::ThreadRandomState();
    SetRandomFillPath(FastestRandomFillPath());
    EXPECT_EQ(expected.bytes, actual);
    EXPECT_EQ(expected.finalState, finalState);
}

INSTANTIATE_TEST_SUITE_P(AllPaths, RandomFillPathTest, testing::ValuesIn(AllRandomFillPaths),
                         [](const testing::TestParamInfo<RandomFillPath>& info) {
                             return std::string(RandomFillPathName(info.param));
                         });

// The paths are listed slowest first: none after the fastest supported one runs here.
TEST(RandomFillPaths, TheFastestSupportedPathIsTheDefault) {
    const RandomFillPath fastest = FastestRandomFillPath();
    EXPECT_TRUE(RandomFillPathSupported(fastest));
    const auto* after =
        std::find(std::begin(AllRandomFillPaths), std::end(AllRandomFillPaths), fastest);
    ASSERT_NE(std::end(AllRandomFillPaths), after);
    for (++after; after != std::end(AllRandomFillPaths); ++after) {
        EXPECT_FALSE(RandomFillPathSupported(*after)) << RandomFillPathName(*after);
    }
    EXPECT_EQ(fastest, CurrentRandomFillPath());
}

TEST(RandomFillPaths, AnUnsupportedPathIsRefusedAndFallsBackToTheScalarBytes) {
    for (RandomFillPath path : AllRandomFillPaths) {
        if (RandomFillPathSupported(path)) {
            continue;
        }
        const RandomFillPath before = CurrentRandomFillPath();
        EXPECT_FALSE(SetRandomFillPath(path));
        EXPECT_EQ(before, CurrentRandomFillPath());
        const Filled expected = Expected(99u, 1000);
        const Filled actual = FillFrom(99u, 1000, path);
        EXPECT_EQ(expected.bytes, actual.bytes);
        EXPECT_EQ(expected.finalState, actual.finalState);
    }
}

TEST(RandomJump, MatchesSteppingOneAtATime) {
    std::uint32_t stepped = 0xDEADBEEFu;
    for (std::uint64_t steps = 0; steps <= 5000; ++steps) {
        ASSERT_EQ(stepped, detail::ApplyJump(detail::RandomJumpOf(steps), 0xDEADBEEFu))
            << steps << " steps";
        stepped = stepped * 214013u + 2531011u;
    }
    stepped = 42u;
    const std::uint64_t many = (1u << 24) + 12345u;
    for (std::uint64_t step = 0; step < many; ++step) {
        stepped = stepped * 214013u + 2531011u;
    }
    EXPECT_EQ(stepped, detail::ApplyJump(detail::RandomJumpOf(many), 42u));
}

TEST(RandomJump, TheFullPeriodReturnsToTheStart) {
    const detail::RandomJump period = detail::RandomJumpOf(std::uint64_t{1} << 32);
    EXPECT_EQ(1u, period.multiplier);
    EXPECT_EQ(0u, period.increment);
    const detail::RandomJump half = detail::RandomJumpOf(std::uint64_t{1} << 31);
    EXPECT_NE(0x12345678u, detail::ApplyJump(half, 0x12345678u));
}

} // namespace
