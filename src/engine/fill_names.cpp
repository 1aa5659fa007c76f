#include "engine/fill_names.h"

#include "engine/free_space_wipe.h"

#include <cwchar>

namespace {

constexpr wchar_t FillFilePrefix = L'F';
constexpr std::size_t FillFileDigits = 7;

} // namespace

const wchar_t FillFolderName[] = L"Ferrolet free-space wipe (safe to delete)";

std::wstring FillFileName(std::uint32_t number) {
    wchar_t name[FillFileDigits + 2];
    std::swprintf(name, std::size(name), L"%lc%07lu", FillFilePrefix,
                  static_cast<unsigned long>(number));
    return name;
}

bool IsFillFileName(std::wstring_view name) {
    if (name.size() != FillFileDigits + 1 || name.front() != FillFilePrefix) {
        return false;
    }
    for (wchar_t c : name.substr(1)) {
        if (c < L'0' || c > L'9') {
            return false;
        }
    }
    return true;
}
