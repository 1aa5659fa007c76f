#include "mainwindow/listed_items.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

bool SameIgnoringCase(const std::wstring& first, const std::wstring& second) {
    return CompareStringOrdinal(first.data(), static_cast<int>(first.size()), second.data(),
                                static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

std::wstring CharCase(std::wstring text, bool upper) {
    const auto length = static_cast<DWORD>(text.size());
    upper ? CharUpperBuffW(text.data(), length) : CharLowerBuffW(text.data(), length);
    return text;
}

// Two characters the comparison takes as one must fold to one key, or a duplicate would be missed:
// every character of the Basic Multilingual Plane against its upper- and lower-case forms.
TEST(ListedItemsFold, CharactersTheComparisonTakesAsOneFoldAlike) {
    std::vector<unsigned> unlike;
    for (unsigned unit = 1; unit <= 0xFFFF; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            continue;
        }
        const std::wstring character(1, static_cast<wchar_t>(unit));
        const std::wstring key = FoldCase(character);
        bool alike = SameIgnoringCase(character, key);
        for (const std::wstring& other : {CharCase(character, true), CharCase(character, false)}) {
            alike = alike && (!SameIgnoringCase(character, other) || FoldCase(other) == key);
        }
        if (!alike) {
            unlike.push_back(unit);
        }
    }
    EXPECT_EQ(std::vector<unsigned>{}, unlike);
}

} // namespace
