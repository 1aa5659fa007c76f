// Opening a web page from the elevated program without elevating the browser: the request goes
// to the desktop's shell, which runs as the signed-in user, and the browser starts from there.
#pragma once

#include <windows.h>

enum class WebPageLaunch { ThroughDesktopShell, Direct, Failed };

// The two ways a page can be opened, apart so that the choice between them can be tested.
struct WebPageLaunchers {
    // Through the desktop's shell process; false when there is no such shell or it refused.
    bool (*throughDesktopShell)(const wchar_t* address);
    // Straight from this process, inheriting its rights.
    HINSTANCE(WINAPI* direct)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
};

// Asks the desktop shell's IShellDispatch2::ShellExecute to open address, found the documented
// way: IShellWindows::FindWindowSW for the desktop, its top-level browser, the active view's
// background object, and that view's Application.
bool OpenThroughDesktopShell(const wchar_t* address);

// The desktop's way first; the direct ShellExecuteW only where that fails. Both maximised, with
// the verb "open".
WebPageLaunch OpenWebPageWith(HWND owner, const wchar_t* address,
                              const WebPageLaunchers& launchers);

// OpenWebPageWith with OpenThroughDesktopShell and ShellExecuteW.
WebPageLaunch OpenWebPageAsDesktopUser(HWND owner, const wchar_t* address);
