#include <windows.h>
#include <shellapi.h>

#include "dialogs/web_page_launch.h"

#include "dialogs/about_text.h"
#include "handles/com_apartment.h"
#include "handles/com_ptr.h"
#include "handles/com_string.h"

#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

namespace {

constexpr INT kPageShow = SW_SHOWMAXIMIZED;
constexpr wchar_t kPageVerb[] = L"open";

VARIANT EmptyVariant() {
    VARIANT value;
    VariantInit(&value);
    return value;
}

VARIANT NumberVariant(LONG number) {
    VARIANT value = EmptyVariant();
    V_VT(&value) = VT_I4;
    V_I4(&value) = number;
    return value;
}

// A view of a string that stays owned by its ComString.
VARIANT StringVariant(const ComString& text) {
    VARIANT value = EmptyVariant();
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = text.Get();
    return value;
}

ComPtr<IShellDispatch2> DesktopShellDispatch() {
    ComPtr<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                                windows.ReceiveVoid()))) {
        return {};
    }
    VARIANT location = NumberVariant(CSIDL_DESKTOP);
    VARIANT root = EmptyVariant();
    LONG window = 0;
    ComPtr<IDispatch> desktop;
    // S_FALSE means no such window, with nothing handed out.
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                              desktop.Receive()) != S_OK ||
        !desktop) {
        return {};
    }
    const ComPtr<IServiceProvider> services = desktop.As<IServiceProvider>();
    ComPtr<IShellBrowser> browser;
    if (!services ||
        FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser,
                                      browser.ReceiveVoid())) ||
        !browser) {
        return {};
    }
    ComPtr<IShellView> view;
    if (FAILED(browser->QueryActiveShellView(view.Receive())) || !view) {
        return {};
    }
    ComPtr<IDispatch> background;
    if (FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.ReceiveVoid())) ||
        !background) {
        return {};
    }
    const ComPtr<IShellFolderViewDual> folderView = background.As<IShellFolderViewDual>();
    ComPtr<IDispatch> application;
    if (!folderView || FAILED(folderView->get_Application(application.Receive())) || !application) {
        return {};
    }
    return application.As<IShellDispatch2>();
}

} // namespace

bool OpenThroughDesktopShell(const wchar_t* address) {
    const ComApartment apartment;
    const ComPtr<IShellDispatch2> shell = DesktopShellDispatch();
    if (!shell) {
        return false;
    }
    const ComString file(address);
    const ComString verb(kPageVerb);
    return SUCCEEDED(shell->ShellExecute(file.Get(), EmptyVariant(), EmptyVariant(),
                                         StringVariant(verb), NumberVariant(kPageShow)));
}

void ShowWebAddress(HWND owner, const wchar_t* address) {
    const std::wstring text = std::wstring(WebPageNotOpenedText) + L"\n\n" + address;
    MessageBoxW(owner, text.c_str(), WebPageNotOpenedCaption, MB_OK | MB_ICONINFORMATION);
}

WebPageLaunch OpenWebPageWith(HWND owner, const wchar_t* address,
                              const WebPageLaunchers& launchers) {
    if (launchers.throughDesktopShell(address)) {
        return WebPageLaunch::ThroughDesktopShell;
    }
    launchers.showAddress(owner, address);
    return WebPageLaunch::AddressShown;
}

WebPageLaunch OpenWebPageAsDesktopUser(HWND owner, const wchar_t* address) {
    return OpenWebPageWith(owner, address,
                           WebPageLaunchers{OpenThroughDesktopShell, ShowWebAddress});
}
