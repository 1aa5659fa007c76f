#include "engine/overwrite_methods.h"
#include "engine/random.h"
#include "support/contents_at_flush.h"
#include "support/file_system_trace.h"
#include "support/fresh_thread.h"
#include "support/open_test_file.h"
#include "support/reference_random.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using K = FileOp::Kind;

TEST(ShredMethods, TableFollowsTheRadioButtons) {
    const std::array<ShredMethod, ShredMethodCount> expected{
        OverwriteZeros, OverwriteRandom, OverwriteDod3, OverwriteDod7, OverwriteGutmann};
    const std::array<std::size_t, ShredMethodCount> passes{1, 1, 3, 7, 105};
    for (int i = 0; i < ShredMethodCount; ++i) {
        EXPECT_EQ(expected[i], ShredMethods[i]) << "index " << i;
        EXPECT_EQ(passes[i], PassesOf(ShredMethods[i]).size()) << "index " << i;
    }
    const auto dod3 = PassesOf(OverwriteDod3);
    EXPECT_TRUE(!dod3[0].random && dod3[0].value == 0x00 && !dod3[1].random &&
                dod3[1].value == 0xFF && dod3[2].random);
}

TEST(OverwriteRandom, FirstBytesOfAFreshThreadAndOneDrawPerByte) {
    TempFolder folder;
    const std::wstring path = folder / L"four.bin";
    OnFreshThread([&] {
        OpenTestFile file(path, "abcd");
        ContentsAtFlush flushes(path);
        EXPECT_TRUE(OverwriteRandom(file.Handle()));
        EXPECT_EQ(std::vector<std::string>{std::string("\x29\x23\xBE\x84", 4)},
                  ContentsAtFlush::Seen());
        EXPECT_EQ(19169, NextRandom()) << "exactly four draws";
    });
}

TEST(OverwriteZeros, EveryByteZeroFlushedOnceAndNothingDrawn) {
    TempFolder folder;
    const std::wstring path = folder / L"zeros.bin";
    OnFreshThread([&] {
        OpenTestFile file(path, "abcdef");
        ContentsAtFlush flushes(path);
        EXPECT_TRUE(OverwriteZeros(file.Handle()));
        EXPECT_EQ(std::vector<std::string>{std::string(6, '\0')}, ContentsAtFlush::Seen());
        EXPECT_EQ(41, NextRandom());
    });
}

TEST(OverwriteDod3, TenBytesZerosThenOnesThenRandomEachOnTheDiskBeforeTheNext) {
    TempFolder folder;
    const std::wstring path = folder / L"ten.bin";
    OnFreshThread([&] {
        OpenTestFile file(path, "0123456789");
        ContentsAtFlush flushes(path);
        EXPECT_TRUE(OverwriteDod3(file.Handle()));
        const auto draws = ReferenceDraws(11);
        const std::vector<std::string> expected{std::string(10, '\0'), std::string(10, '\xFF'),
                                                LowBytes(draws, 0, 10)};
        EXPECT_EQ(expected, ContentsAtFlush::Seen()) << "one flush per pass, each pass whole";
        EXPECT_EQ(LowBytes(draws, 0, 10), file.Contents()) << "10 bytes long at the end";
        EXPECT_EQ(draws[10], NextRandom());
    });
}

TEST(OverwriteDod7, SevenPassesTwoOfThemRandomFromOneSequence) {
    TempFolder folder;
    const std::wstring path = folder / L"seven.bin";
    OnFreshThread([&] {
        OpenTestFile file(path, "abcdefgh");
        ContentsAtFlush flushes(path);
        EXPECT_TRUE(OverwriteDod7(file.Handle()));
        const auto draws = ReferenceDraws(17);
        const std::vector<std::string> expected{std::string(8, '\0'),  std::string(8, '\xFF'),
                                                LowBytes(draws, 0, 8), std::string(8, '\x96'),
                                                std::string(8, '\0'),  std::string(8, '\xFF'),
                                                LowBytes(draws, 8, 8)};
        EXPECT_EQ(expected, ContentsAtFlush::Seen());
        EXPECT_EQ(LowBytes(draws, 8, 8), file.Contents());
        EXPECT_EQ(draws[16], NextRandom());
    });
}

// Passes 1 to 35, three sub-passes each; -1 for random.
constexpr std::array<std::array<int, 3>, 35> GutmannPasses{{
    {-1, -1, -1},       {-1, -1, -1},       {-1, -1, -1},       {-1, -1, -1},
    {0x55, 0x55, 0x55}, {0xAA, 0xAA, 0xAA}, {0x92, 0x49, 0x24}, {0x49, 0x24, 0x92},
    {0x24, 0x92, 0x49}, {0x00, 0x00, 0x00}, {0x11, 0x11, 0x11}, {0x22, 0x22, 0x22},
    {0x33, 0x33, 0x33}, {0x44, 0x44, 0x44}, {0x55, 0x55, 0x55}, {0x66, 0x66, 0x66},
    {0x77, 0x77, 0x77}, {0x88, 0x88, 0x88}, {0x99, 0x99, 0x99}, {0xAA, 0xAA, 0xAA},
    {0xBB, 0xBB, 0xBB}, {0xCC, 0xCC, 0xCC}, {0xDD, 0xDD, 0xDD}, {0xEE, 0xEE, 0xEE},
    {0xFF, 0xFF, 0xFF}, {0x92, 0x49, 0x24}, {0x49, 0x24, 0x92}, {0x24, 0x92, 0x49},
    {0x6D, 0xB6, 0xDB}, {0xB6, 0xDB, 0x6D}, {0xDB, 0x6D, 0xB6}, {-1, -1, -1},
    {-1, -1, -1},       {-1, -1, -1},       {-1, -1, -1},
}};

// Every sub-pass is on the disk, whole, before the next begins: pass 7 ends all 0x24 and pass 29
// all 0xDB there, as in every other pass.
TEST(OverwriteGutmann, HundredAndFiveSubPassesInTheGutmannOrder) {
    TempFolder folder;
    const std::wstring path = folder / L"gutmann.bin";
    constexpr std::size_t Size = 6;
    OnFreshThread([&] {
        OpenTestFile file(path, "secret");
        ContentsAtFlush flushes(path);
        EXPECT_TRUE(OverwriteGutmann(file.Handle()));
        const auto draws = ReferenceDraws(24 * Size + 1);
        std::vector<std::string> expected;
        std::size_t nextDraw = 0;
        for (const auto& pass : GutmannPasses) {
            for (int value : pass) {
                if (value < 0) {
                    expected.push_back(LowBytes(draws, nextDraw, Size));
                    nextDraw += Size;
                } else {
                    expected.push_back(std::string(Size, static_cast<char>(value)));
                }
            }
        }
        EXPECT_EQ(expected, ContentsAtFlush::Seen());
        EXPECT_EQ(expected.back(), file.Contents());
        EXPECT_EQ(draws[24 * Size], NextRandom()) << "24 random overwrites, one draw per byte";
    });
}

TEST(ShredMethods, EmptyFileIsNeverWritten) {
    TempFolder folder;
    for (std::size_t i = 0; i < ShredMethodCount; ++i) {
        OnFreshThread([&] {
            OpenTestFile file(folder / (L"empty" + std::to_wstring(i)), "");
            FileSystemTrace trace;
            EXPECT_TRUE(ShredMethods[i](file.Handle())) << "method " << i;
            EXPECT_EQ(0u, trace.Count(K::Write)) << "method " << i;
            EXPECT_EQ(0, file.Position());
            EXPECT_EQ("", file.Contents());
            EXPECT_EQ(41, NextRandom());
        });
    }
}

} // namespace
