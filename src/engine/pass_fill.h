// What one pass of an overwrite method writes.
#pragma once

#include <cstdint>

// What one pass fills the file with: one fixed byte value, or fresh random bytes.
struct PassFill {
    bool random;
    std::uint8_t value;
};

constexpr PassFill RandomPass{true, 0};
constexpr PassFill BytePass(std::uint8_t value) {
    return PassFill{false, value};
}
