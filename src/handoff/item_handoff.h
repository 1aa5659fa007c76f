// What the Explorer menu's companion hands Ferrolet's main window, and how it finds that window.
// One WM_COPYDATA: dwData is ItemHandoffTag, the data the items' full paths in UTF-16, each ended
// by a NUL. The window answers TRUE when it took the items (added by the usual rules, those it
// could not open named in its own box), FALSE while it is busy; the sender then tries again.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// "FRL1": marks the items, so a stray WM_COPYDATA of another program is refused.
inline constexpr ULONG_PTR ItemHandoffTag = 0x46524C31;

// The main window: a dialog with this caption.
inline constexpr const wchar_t* MainWindowClass = L"#32770";
inline constexpr const wchar_t* MainWindowCaption = L"Ferrolet Free v1.0";

// Every path followed by a NUL; the same text crosses the companion's pipe.
inline std::wstring PackItems(const std::vector<std::wstring>& paths) {
    std::wstring packed;
    for (const std::wstring& path : paths) {
        packed += path;
        packed += L'\0';
    }
    return packed;
}

// The paths of bytes of packed text; an empty piece is no path, a last piece without its NUL is
// one, and an odd last byte is dropped.
inline std::vector<std::wstring> UnpackItems(const void* data, std::size_t bytes) {
    std::vector<std::wstring> paths;
    const auto text = static_cast<const wchar_t*>(data);
    const std::size_t length = text ? bytes / sizeof(wchar_t) : 0;
    std::size_t start = 0;
    for (std::size_t index = 0; index <= length; ++index) {
        if (index == length || text[index] == L'\0') {
            if (index > start) {
                paths.emplace_back(text + start, index - start);
            }
            start = index + 1;
        }
    }
    return paths;
}
