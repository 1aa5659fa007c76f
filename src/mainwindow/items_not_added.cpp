#include "mainwindow/items_not_added.h"

#include "mainwindow/main_window_text.h"

#include <algorithm>
#include <cwchar>

const wchar_t* ReasonText(AddOutcome outcome) {
    switch (outcome) {
    case AddOutcome::NotAFullPath:
        return NotAFullPathReason;
    case AddOutcome::AlreadyListed:
        return AlreadyListedReason;
    case AddOutcome::NoFileId:
        return NoFileIdReason;
    case AddOutcome::NoFinalPath:
        return NoFinalPathReason;
    case AddOutcome::Added:
    case AddOutcome::Unreadable:
    case AddOutcome::NotALocalVolume:
    case AddOutcome::NotChosen:
        break;
    }
    return UnreadableReason;
}

std::wstring ItemsNotAddedText(const std::vector<ItemNotAdded>& items) {
    std::wstring text = ItemsNotAddedIntro;
    text += L"\n";
    const std::size_t listed = std::min<std::size_t>(items.size(), ItemsNotAddedListed);
    for (std::size_t index = 0; index < listed; ++index) {
        text += L"\n" + items[index].path + ItemsNotAddedReasonSeparator +
                ReasonText(items[index].outcome);
    }
    if (items.size() > listed) {
        wchar_t more[64] = {};
        std::swprintf(more, std::size(more), ItemsNotAddedMore,
                      static_cast<int>(items.size() - listed));
        text += L"\n";
        text += more;
    }
    // What to do about a mapped drive letter, which only an item that cannot be opened may be on.
    if (std::any_of(items.begin(), items.end(), [](const ItemNotAdded& item) {
            return item.outcome == AddOutcome::Unreadable;
        })) {
        text += L"\n\n";
        text += ItemsNotAddedCause;
    }
    return text;
}
