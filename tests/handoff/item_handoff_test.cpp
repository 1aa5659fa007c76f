#include "handoff/item_handoff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::wstring>;
using namespace std::string_literals;

// What the main window reads from the bytes another program sent: packed items come back whole,
// and bytes of a sender that packs differently give no empty or cut path.
TEST(ItemHandoff, TheWindowReadsThePathsThatWerePacked) {
    const Paths paths = {L"C:\\a b\\one.txt", L"D:\\", L"\\\\server\\share\\x"};
    const std::wstring packed = PackItems(paths);
    EXPECT_EQ(L"C:\\a b\\one.txt\0D:\\\0\\\\server\\share\\x\0"s, packed);
    EXPECT_EQ(paths, UnpackItems(packed.data(), packed.size() * sizeof(wchar_t)));

    const struct {
        const char* what;
        std::wstring text;
        std::size_t extraBytes;
        Paths expected;
    } cases[] = {
        {"nothing", L"", 0, {}},
        {"no NUL after the last path", L"a\0b"s, 0, {L"a", L"b"}},
        {"empty pieces", L"\0a\0\0b\0\0"s, 0, {L"a", L"b"}},
        {"an odd last byte", L"a\0b\0"s, 1, {L"a", L"b"}},
    };
    for (const auto& row : cases) {
        std::wstring buffer = row.text + L'x';
        EXPECT_EQ(row.expected,
                  UnpackItems(buffer.data(), row.text.size() * sizeof(wchar_t) + row.extraBytes))
            << row.what;
    }
    EXPECT_EQ(Paths{}, UnpackItems(nullptr, 8));
}

} // namespace
