// FerroletMenu.exe: puts "Shred with Ferrolet" in Explorer's menu and Ferrolet in Send To for the
// current user (--install, --remove), and brings the items of every instance Explorer starts
// (--add PATH...) into one Ferrolet window. It runs as the user, never elevated.
#include "companion/command_line.h"
#include "companion/companion_text.h"
#include "companion/item_collector.h"
#include "companion/items_not_added.h"
#include "companion/menu_entry.h"
#include "companion/private_channel.h"
#include "companion/send_to_shortcut.h"
#include "handles/held_mutex.h"
#include "handoff/item_handoff.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr const wchar_t* InstallOption = L"--install";
constexpr const wchar_t* RemoveOption = L"--remove";
constexpr const wchar_t* FerroletFileName = L"Ferrolet.exe";
// How long a companion waits for its turn at the collector's door.
constexpr DWORD ChannelWaitMs = 60000;

enum ExitCode : int { Success = 0, Usage = 1, Failure = 2 };

std::wstring CompanionPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring FerroletPathBeside(const std::wstring& companionPath) {
    return companionPath.substr(0, companionPath.find_last_of(L'\\') + 1) + FerroletFileName;
}

void Say(const std::wstring& text) {
    MessageBoxW(nullptr, text.c_str(), CompanionCaption, MB_OK | MB_ICONWARNING);
}

int Install(const std::wstring& companionPath) {
    const std::wstring ferroletPath = FerroletPathBeside(companionPath);
    if (GetFileAttributesW(ferroletPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Say(FerroletMissingText);
        return Failure;
    }
    LONG result = InstallMenuEntry(companionPath, ferroletPath);
    if (result == ERROR_SUCCESS) {
        result = MakeSendToShortcut(companionPath, ferroletPath);
    }
    if (result != ERROR_SUCCESS) {
        RemoveMenuEntry();
        RemoveSendToShortcut();
        Say(WithNumber(InstallFailedText, result));
        return Failure;
    }
    return Success;
}

int Remove() {
    LONG result = RemoveMenuEntry();
    const HRESULT shortcut = RemoveSendToShortcut();
    if (result == ERROR_SUCCESS) {
        result = shortcut;
    }
    if (result != ERROR_SUCCESS) {
        Say(WithNumber(RemoveFailedText, result));
        return Failure;
    }
    return Success;
}

// Hands the items to the session's collector, or becomes it; every item either reaches a
// Ferrolet window or is named in a box.
int Add(const std::wstring& ferroletPath, std::vector<std::wstring> items) {
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    const LocalMemory<void> security = CurrentUserOnlySecurity();
    const KernelHandle mutex =
        security ? OpenChannelMutex(ChannelMutexName(session), security.Get()) : KernelHandle();
    const DWORD waited = mutex ? WaitForSingleObject(mutex.Get(), ChannelWaitMs) : WAIT_FAILED;
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        const DWORD error = waited == WAIT_TIMEOUT ? ERROR_TIMEOUT : GetLastError();
        ReportItemsNotAdded(WithNumber(NotHandedText, static_cast<long>(error)), items);
        return Failure;
    }
    HeldMutex held(mutex.Get());
    const std::wstring pipeName = ChannelPipeName(session);
    const HandOver handOver = HandToCollector(pipeName, PackItems(items));
    if (handOver == HandOver::Taken) {
        return Success;
    }
    KernelHandle pipe;
    if (handOver == HandOver::NoCollector) {
        pipe = CreateCollectorPipe(pipeName, security.Get());
    }
    if (!pipe) {
        ReportItemsNotAdded(WithNumber(NotHandedText, static_cast<long>(GetLastError())), items);
        return Failure;
    }
    held.Reset();
    CollectItems(std::move(pipe), mutex.Get(), ferroletPath, std::move(items));
    return Success;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::vector<std::wstring> arguments = CommandLineArguments(GetCommandLineW());
    const std::wstring companionPath = CompanionPath();
    if (arguments.size() == 1 && arguments[0] == InstallOption) {
        return Install(companionPath);
    }
    if (arguments.size() == 1 && arguments[0] == RemoveOption) {
        return Remove();
    }
    if (arguments.size() > 1 && arguments[0] == AddItemsOption) {
        arguments.erase(arguments.begin());
        return Add(FerroletPathBeside(companionPath), std::move(arguments));
    }
    MessageBoxW(nullptr, UsageText, CompanionCaption, MB_OK | MB_ICONINFORMATION);
    return Usage;
}
