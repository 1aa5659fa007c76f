#include "companion/send_to_shortcut.h"

#include "companion/menu_entry.h"
#include "handles/co_task_memory.h"
#include "handles/com_apartment.h"
#include "handles/com_ptr.h"

#include <shlobj.h>
#include <shobjidl.h>

namespace {

inline constexpr const wchar_t* SendToShortcutDescription = L"Shred with Ferrolet";

} // namespace

std::optional<std::wstring> SendToShortcutPath() {
    CoTaskString folder;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_SendTo, 0, nullptr, folder.Receive()))) {
        return std::nullopt;
    }
    return std::wstring(folder.Get()) + L"\\" + SendToShortcutName;
}

HRESULT MakeSendToShortcut(const std::wstring& companionPath, const std::wstring& ferroletPath) {
    const ComApartment apartment;
    const std::optional<std::wstring> path = SendToShortcutPath();
    if (!path) {
        return E_FAIL;
    }
    ComPtr<IShellLinkW> link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, link.ReceiveVoid());
    if (SUCCEEDED(result)) {
        result = link->SetPath(companionPath.c_str());
    }
    if (SUCCEEDED(result)) {
        result = link->SetArguments(AddItemsOption);
    }
    if (SUCCEEDED(result)) {
        result = link->SetIconLocation(ferroletPath.c_str(), 0);
    }
    if (SUCCEEDED(result)) {
        result = link->SetDescription(SendToShortcutDescription);
    }
    const ComPtr<IPersistFile> file = link.As<IPersistFile>();
    if (SUCCEEDED(result)) {
        result = file ? file->Save(path->c_str(), TRUE) : E_NOINTERFACE;
    }
    return result;
}

HRESULT RemoveSendToShortcut() {
    const std::optional<std::wstring> path = SendToShortcutPath();
    if (!path) {
        return E_FAIL;
    }
    if (DeleteFileW(path->c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) {
        return S_OK;
    }
    return HRESULT_FROM_WIN32(GetLastError());
}
