// The About box (template 101): icon, bold title, the product's web address as a link, and the
// notice with the contact lines.
#pragma once

#include "dialogs/about_text.h"
#include "dialogs/web_page_launch.h"

#include <windows.h>

// The fonts the dialog shows while it is open, null otherwise. The dialog creates them at each
// opening and deletes them when it closes.
extern HFONT linkFont;
extern HFONT titleFont;

// How a click on the link opens the web page; OpenWebPageAsDesktopUser unless a test puts
// something else here.
using OpenWebPageFunction = WebPageLaunch (*)(HWND owner, const wchar_t* address);
extern OpenWebPageFunction OpenWebPage;

// Top-left corner that centres a window of the given size on a work area.
POINT CenteredPosition(const RECT& workArea, SIZE window);

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
