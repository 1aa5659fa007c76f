// The About box (template 101): icon, bold title, the product's web address as a link, and the
// notice with the contact lines.
#pragma once

#include <windows.h>

#include <string>

// The product's web page: the link's text and the address it opens.
extern const wchar_t ProductWebAddress[];
extern const wchar_t AuthorName[];
extern const wchar_t ContactMailAddress[];

// The fonts the dialog creates at each opening and deletes when it closes.
extern HFONT linkFont;
extern HFONT titleFont;

// How the link opens the web page; ShellExecuteW unless a test puts something else here.
using OpenWebPageFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
extern OpenWebPageFunction OpenWebPage;

// The notice shown in the edit box: CR LF line breaks, no final line break.
std::wstring AboutNoticeText();

// Top-left corner that centres a window of the given size on a work area.
POINT CenteredPosition(const RECT& workArea, SIZE window);

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
