// The texts a shred job shows the user.
#pragma once

#include <string>

inline constexpr const wchar_t* NotShreddedCaption = L"Items not shredded";
inline constexpr const wchar_t* OneNotShreddedText =
    L"1 item could not be shredded. It remains in the list.";
// %d: the number of items, more than one.
inline constexpr const wchar_t* ManyNotShreddedFormat =
    L"%d items could not be shredded. They remain in the list.";

// The report's text for count items that could not be shredded.
std::wstring NotShreddedMessage(int count);
