// Ferrolet's main window as the companion meets it: found, handed items, or started.
#pragma once

#include "handles/kernel_handle.h"

#include <windows.h>

#include <string>
#include <vector>

// The main windows of this logon session, oldest first; with processId, only that process's.
std::vector<HWND> FerroletWindows(DWORD processId = 0);

enum class WindowAnswer {
    Taken,
    // Refused while a job, a box or the About box stands over it, or no answer in time.
    Busy,
    Gone,
};
WindowAnswer HandToWindow(HWND window, const std::vector<std::wstring>& items);

// Ferrolet started through the shell, so that its manifest's request for administrator rights
// is honoured: the process, or why it did not start (ERROR_CANCELLED: the user said no).
struct FerroletStart {
    KernelHandle process;
    DWORD error = ERROR_SUCCESS;
};
FerroletStart StartFerrolet(const std::wstring& ferroletPath, const std::wstring& arguments);

// How many characters Ferrolet's arguments may have, beside its quoted path, on a command line of
// at most 32,767 characters with its NUL.
std::size_t ArgumentsLimit(const std::wstring& ferroletPath);
