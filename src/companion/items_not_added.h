// The one box that says why items did not reach Ferrolet's list, and names them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The reason, then the first items one a line and how many more.
std::wstring ItemsNotAddedText(const std::wstring& reason, const std::vector<std::wstring>& items);

void ReportItemsNotAdded(const std::wstring& reason, const std::vector<std::wstring>& items);

// A text with one number in it.
std::wstring WithNumber(const wchar_t* format, long number);
