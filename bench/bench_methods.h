// The overwrite methods by the names the benchmark's command lines use.
#pragma once

#include "engine/overwrite_methods.h"

#include <cwchar>

struct BenchMethod {
    const wchar_t* name;
    int passes;
};

// In the order of the method table and of the main window's method buttons.
inline constexpr BenchMethod BenchMethods[ShredMethodCount] = {
    {L"zeros", 1}, {L"random", 1}, {L"dod3", 3}, {L"dod7", 7}, {L"gutmann", 105}};

// The index of the method called name; -1 for none.
inline int BenchMethodIndex(const wchar_t* name) {
    for (int i = 0; i < ShredMethodCount; ++i) {
        if (std::wcscmp(name, BenchMethods[i].name) == 0) {
            return i;
        }
    }
    return -1;
}
