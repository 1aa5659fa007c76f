// Opening a web page from the elevated program without elevating the browser: the request goes
// to the desktop's shell, which runs as the signed-in user, and the browser starts from there.
#pragma once

#include <windows.h>

enum class WebPageLaunch { ThroughDesktopShell, AddressShown };

// The two answers to a click on the page's link, apart so that the choice between them can be
// tested.
struct WebPageLaunchers {
    // Through the desktop's shell process; false when there is no such shell or it refused.
    bool (*throughDesktopShell)(const wchar_t* address);
    // Tells the user the address, owned by the given window.
    void (*showAddress)(HWND owner, const wchar_t* address);
};

// Asks the desktop shell's IShellDispatch2::ShellExecute to open address, found the documented
// way: IShellWindows::FindWindowSW for the desktop, its top-level browser, the active view's
// background object, and that view's Application.
bool OpenThroughDesktopShell(const wchar_t* address);

// A message box with the address, for the user to open in a browser of their own.
void ShowWebAddress(HWND owner, const wchar_t* address);

// The desktop's way (maximised, with the verb "open"); where that fails, the address in a box.
// A browser is never started from this process: it would run elevated, as this process does.
WebPageLaunch OpenWebPageWith(HWND owner, const wchar_t* address,
                              const WebPageLaunchers& launchers);

// OpenWebPageWith with OpenThroughDesktopShell and ShowWebAddress.
WebPageLaunch OpenWebPageAsDesktopUser(HWND owner, const wchar_t* address);
