#include "companion/items_not_added.h"

#include "companion/companion_text.h"

#include <algorithm>
#include <cwchar>

std::wstring ItemsNotAddedText(const std::wstring& reason, const std::vector<std::wstring>& items) {
    std::wstring text = reason + L"\n";
    const std::size_t listed = std::min<std::size_t>(items.size(), ItemsListed);
    for (std::size_t index = 0; index < listed; ++index) {
        text += L"\n" + items[index];
    }
    if (items.size() > listed) {
        text += L"\n" + WithNumber(MoreItemsText, static_cast<long>(items.size() - listed));
    }
    return text;
}

void ReportItemsNotAdded(const std::wstring& reason, const std::vector<std::wstring>& items) {
    if (!items.empty()) {
        MessageBoxW(nullptr, ItemsNotAddedText(reason, items).c_str(), CompanionCaption,
                    MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
    }
}

std::wstring WithNumber(const wchar_t* format, long number) {
    wchar_t text[512] = {};
    std::swprintf(text, std::size(text), format, number);
    return text;
}
