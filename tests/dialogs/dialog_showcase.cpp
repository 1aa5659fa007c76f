// Puts one of the program's dialogs on the screen, as a user would see it, for
// tools/screenshots.sh:
//   ferrolet_dialog_showcase main|about|progress
// The main window comes with two rows in its list. "progress" starts a real job on them but keeps
// its worker from starting, and shows the dialog part-way through; nothing is shredded.
#include "dialogs/about_dialog.h"
#include "job/shred_job.h"
#include "mainwindow/app_globals.h"
#include "mainwindow/main_dialog.h"
#include "mainwindow/shred_list_view.h"
#include "resource.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

enum class Showcase { Main, About, Progress };

Showcase Chosen = Showcase::Main;
HHOOK TimerFilter = nullptr;
std::wstring FilePath;
std::wstring FolderPath;

void WriteFileOfSize(const std::wstring& path, DWORD bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    std::string chunk(bytes, 'x');
    DWORD written = 0;
    WriteFile(file, chunk.data(), bytes, &written, nullptr);
    CloseHandle(file);
}

void MakeSampleItems() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"ferrolet-showcase";
    CreateDirectoryW(base.c_str(), nullptr);
    FilePath = base + L"\\Quarterly report.docx";
    WriteFileOfSize(FilePath, 48 * 1024);
    FolderPath = base + L"\\Old photos";
    CreateDirectoryW(FolderPath.c_str(), nullptr);
    for (int i = 1; i <= 8; ++i) {
        WriteFileOfSize(FolderPath + L"\\IMG_00" + std::to_wstring(i) + L".jpg", 1024);
    }
}

// Swallows the progress dialog's start timer, so no worker runs, and shows the dialog as the
// worker would leave it a few steps into the job.
LRESULT CALLBACK FilterStartTimer(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_TIMER && message->hwnd &&
        message->hwnd != MainWindowHandle && GetDlgItem(message->hwnd, IDC_PROGRESS_BAR)) {
        const HWND dialog = message->hwnd;
        KillTimer(dialog, message->wParam);
        message->message = WM_NULL;
        SetDlgItemTextW(dialog, IDC_PROGRESS_NAME, FilePath.c_str());
        for (int step = 0; step < 4; ++step) {
            SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_STEPIT, 0, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ActOnMainWindow(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    ShredListView(MainWindowHandle).Add({FilePath, FolderPath});
    switch (Chosen) {
    case Showcase::Main:
        break;
    case Showcase::About:
        PostMessageW(MainWindowHandle, WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED), 0);
        break;
    case Showcase::Progress:
        TimerFilter =
            SetWindowsHookExW(WH_GETMESSAGE, FilterStartTimer, nullptr, GetCurrentThreadId());
        ShredListView list(MainWindowHandle);
        RunShredJob(list);
        break;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    const std::wstring mode = commandLine ? commandLine : L"";
    if (mode == L"about") {
        Chosen = Showcase::About;
    } else if (mode == L"progress") {
        Chosen = Showcase::Progress;
    }
    AppInstance = instance;
    MakeSampleItems();
    SetTimer(nullptr, 0, 300, ActOnMainWindow);
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialog, 0);
    if (TimerFilter) {
        UnhookWindowsHookEx(TimerFilter);
    }
    return 0;
}
