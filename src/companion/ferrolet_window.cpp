#include "companion/ferrolet_window.h"

#include "handles/com_apartment.h"
#include "handoff/item_handoff.h"

#include <shellapi.h>

namespace {

// Adding thousands of items takes a while; an answer that does not come is taken as "busy" and
// the items are sent again, where those already listed are skipped.
constexpr UINT HandOverTimeoutMs = 10000;
constexpr std::size_t CommandLineLimit = 32767;

DWORD SessionOf(DWORD processId) {
    DWORD session = 0;
    return ProcessIdToSessionId(processId, &session) ? session : MAXDWORD;
}

} // namespace

std::vector<HWND> FerroletWindows(DWORD processId) {
    const DWORD ownSession = SessionOf(GetCurrentProcessId());
    std::vector<HWND> windows;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, MainWindowClass, MainWindowCaption))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if ((processId == 0 || owner == processId) && SessionOf(owner) == ownSession) {
            windows.push_back(window);
        }
    }
    return windows;
}

WindowAnswer HandToWindow(HWND window, const std::vector<std::wstring>& items) {
    std::wstring packed = PackItems(items);
    COPYDATASTRUCT data = {ItemHandoffTag, static_cast<DWORD>(packed.size() * sizeof(wchar_t)),
                           packed.data()};
    DWORD_PTR answer = FALSE;
    if (!SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_BLOCK,
                             HandOverTimeoutMs, &answer)) {
        return IsWindow(window) ? WindowAnswer::Busy : WindowAnswer::Gone;
    }
    return answer == TRUE ? WindowAnswer::Taken : WindowAnswer::Busy;
}

FerroletStart StartFerrolet(const std::wstring& ferroletPath, const std::wstring& arguments) {
    const ComApartment apartment;
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpFile = ferroletPath.c_str();
    info.lpParameters = arguments.c_str();
    info.nShow = SW_SHOWNORMAL;
    FerroletStart start;
    if (!ShellExecuteExW(&info)) {
        start.error = GetLastError();
    } else if (!info.hProcess) {
        start.error = ERROR_INVALID_HANDLE;
    }
    start.process = KernelHandle(info.hProcess);
    return start;
}

std::size_t ArgumentsLimit(const std::wstring& ferroletPath) {
    // The quotes around the path, the space after it and the NUL.
    const std::size_t taken = ferroletPath.size() + 4;
    return taken < CommandLineLimit ? CommandLineLimit - taken : 0;
}
