// The "Items not added" box's text: every item given but not added, each with its reason.
#pragma once

#include "mainwindow/shred_list_view.h"

#include <string>
#include <vector>

// An item that was given but not added, and why.
struct ItemNotAdded {
    std::wstring path;
    AddOutcome outcome = AddOutcome::Unreadable;
};

// The reason shown for an outcome other than Added.
const wchar_t* ReasonText(AddOutcome outcome);

// The intro, one line per item (as many as ItemsNotAddedListed, then how many more), and what to
// do about a mapped drive letter where an item could not be opened.
std::wstring ItemsNotAddedText(const std::vector<ItemNotAdded>& items);
