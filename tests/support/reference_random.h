// The random sequence as tests expect it, computed here on its own and not by the engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The first count draws of a fresh thread: state from 1, times 214013 plus 2531011, bits 16-30.
inline std::vector<int> ReferenceDraws(std::size_t count) {
    std::vector<int> draws;
    draws.reserve(count);
    std::uint32_t state = 1;
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 214013u + 2531011u;
        draws.push_back(static_cast<int>((state >> 16) & 0x7FFF));
    }
    return draws;
}

// The fill bytes of count draws starting at draws[first]: the low byte of each.
inline std::string LowBytes(const std::vector<int>& draws, std::size_t first, std::size_t count) {
    std::string bytes;
    for (std::size_t i = first; i < first + count; ++i) {
        bytes += static_cast<char>(draws[i] & 0xFF);
    }
    return bytes;
}

// count fill bytes from any state, one generator step each, and the state they leave.
struct ReferenceFilled {
    std::vector<std::uint8_t> bytes;
    std::uint32_t finalState;
};

inline ReferenceFilled ReferenceFill(std::uint32_t state, std::size_t count) {
    ReferenceFilled filled{std::vector<std::uint8_t>(count), state};
    for (std::uint8_t& byte : filled.bytes) {
        filled.finalState = filled.finalState * 214013u + 2531011u;
        byte = static_cast<std::uint8_t>((filled.finalState >> 16) & 0xFF);
    }
    return filled;
}

// Each random name takes 13 draws, and each item is renamed ten times.
inline constexpr std::size_t DrawsPerName = 13;
inline constexpr std::size_t RenamesPerItem = 10;
inline constexpr std::size_t DrawsPerItem = DrawsPerName * RenamesPerItem;

// The first draw of an item's rename-th name (from 0), when items before it on the same fresh
// thread took all their renames.
inline constexpr std::size_t NameDraw(std::size_t itemsBefore, std::size_t rename) {
    return itemsBefore * DrawsPerItem + rename * DrawsPerName;
}

// The name built from 13 draws starting at draws[first]: letters a to y, and for a file a dot in
// place of the eleventh letter.
inline std::wstring ReferenceName(const std::vector<int>& draws, std::size_t first, bool file) {
    std::wstring name;
    for (std::size_t i = 0; i < 13; ++i) {
        name += static_cast<wchar_t>(L'a' + draws[first + i] % 25);
    }
    if (file) {
        name[10] = L'.';
    }
    return name;
}
