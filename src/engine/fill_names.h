// The names the free-space fill gives its folder and files, and the test that a name is one of
// them: what the clean-up at start-up relies on to touch nothing of anyone else's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The most fill files one wipe makes: the numbers their names have room for.
constexpr std::uint32_t MaxFillFiles = 9'999'999;

// "F0000001" for 1: eight capitals and digits, a valid short name on its own, so NTFS adds no
// second (short) name to the file's record.
std::wstring FillFileName(std::uint32_t number);

// Whether name is a fill file's name: "F" and seven digits.
bool IsFillFileName(std::wstring_view name);
