// Keeps the Wine desktop of a test run open: Wine closes a desktop a second after its last user
// ends, and the next test that opens a window would then start a new one while the old one quits.
// Attaches to the desktop with one hidden window, writes "ready" to its output once the desktop is
// up, and waits until its wineserver ends it.
#include <windows.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const HWND anchor = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        instance, nullptr);
    if (anchor == nullptr || GetDesktopWindow() == nullptr) {
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
