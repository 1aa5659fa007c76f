#include "mainwindow/main_dialog.h"

#include "dialogs/about_dialog.h"
#include "dialogs/dialog_font_scaler.h"
#include "handles/com_apartment.h"
#include "handles/drop_handle.h"
#include "handles/windows_hook.h"
#include "handoff/item_handoff.h"
#include "job/shred_job.h"
#include "mainwindow/app_globals.h"
#include "mainwindow/drop_message_filter.h"
#include "mainwindow/free_space_roots.h"
#include "mainwindow/items_not_added.h"
#include "mainwindow/free_space_text.h"
#include "mainwindow/list_filling.h"
#include "mainwindow/main_window_text.h"
#include "mainwindow/path_pickers.h"
#include "mainwindow/shred_list_view.h"
#include "mainwindow/status_bar.h"
#include "resource.h"

#include <commctrl.h>

#include <cwchar>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Posted at start-up to add the command line's volumes' roots and name what was not added.
constexpr UINT WM_REPORT_START_ITEMS = WM_APP + 1;

// The main window's keys. The dialog manager's modal loop knows no accelerators, but it offers
// every message to this thread's message filter hooks first (MSGF_DIALOGBOX).
struct MainWindowKeys {
    HWND window = nullptr;
    HACCEL table = nullptr;
};
MainWindowKeys mainWindowKeys;
WindowsHook mainWindowKeysHook;

// COM for the shell's folder browser, while the window is open.
std::optional<ComApartment> mainWindowApartment;

LRESULT CALLBACK FilterMainWindowKeys(int code, WPARAM wParam, LPARAM lParam) {
    const auto message = reinterpret_cast<MSG*>(lParam);
    const HWND window = mainWindowKeys.window;
    if (code == MSGF_DIALOGBOX && message && window &&
        (message->hwnd == window || IsChild(window, message->hwnd)) &&
        TranslateAcceleratorW(window, mainWindowKeys.table, message)) {
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void StartMainWindowKeys(HWND dialog) {
    mainWindowKeys =
        MainWindowKeys{dialog, LoadAcceleratorsW(AppInstance, MAKEINTRESOURCEW(IDR_MAIN_KEYS))};
    mainWindowKeysHook = WindowsHook(
        SetWindowsHookExW(WH_MSGFILTER, FilterMainWindowKeys, nullptr, GetCurrentThreadId()));
}

void StopMainWindowKeys(HWND dialog) {
    if (mainWindowKeys.window == dialog) {
        mainWindowKeysHook.Reset();
        mainWindowKeys = MainWindowKeys{};
    }
}

void SetWindowIcons(HWND dialog) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    const HICON smallIcon = LoadIconW(module, MAKEINTRESOURCEW(IDI_FERROLET));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    const HICON bigIcon = LoadIconW(module, MAKEINTRESOURCEW(IDI_FERROLET));
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
}

// What one pick, drop, paste or command line brought that was not added, for the user to be told.
struct NotAdded {
    // Items not added, each with why.
    std::vector<ItemNotAdded> items;
    // Volumes' roots on drives that are not local, each with why.
    std::vector<std::wstring> notLocalDrives;
};

void Append(NotAdded& to, const NotAdded& from) {
    to.items.insert(to.items.end(), from.items.begin(), from.items.end());
    to.notLocalDrives.insert(to.notLocalDrives.end(), from.notLocalDrives.begin(),
                             from.notLocalDrives.end());
}

std::wstring NotLocalDrivesText(const std::vector<std::wstring>& drives) {
    std::wstring text = NotLocalDrivesIntro;
    text += L"\n";
    for (const std::wstring& drive : drives) {
        text += L"\n" + drive;
    }
    return text;
}

std::wstring NotAddedText(const NotAdded& notAdded) {
    std::wstring text;
    if (!notAdded.items.empty()) {
        text = ItemsNotAddedText(notAdded.items);
    }
    if (!notAdded.notLocalDrives.empty()) {
        text += (text.empty() ? L"" : L"\n\n") + NotLocalDrivesText(notAdded.notLocalDrives);
    }
    return text;
}

std::wstring NotLocalDriveLine(const std::wstring& path) {
    const std::wstring root = VolumeRootOf(path);
    const std::wstring reason = NotLocalReason(root);
    std::vector<wchar_t> line(std::wcslen(NotLocalDriveFormat) + root.size() + reason.size() + 1);
    std::swprintf(line.data(), line.size(), NotLocalDriveFormat, root.c_str(), reason.c_str());
    return line.data();
}

// Adds what one pick, drop, paste or command line brought; returns what was not added, but what
// the user chose not to add.
NotAdded AddItems(HWND dialog, const std::vector<std::wstring>& paths) {
    const std::vector<AddOutcome> outcomes = ShredListView(dialog).Add(paths);
    NotAdded notAdded;
    for (std::size_t index = 0; index < outcomes.size(); ++index) {
        if (outcomes[index] == AddOutcome::NotALocalVolume) {
            notAdded.notLocalDrives.push_back(NotLocalDriveLine(paths[index]));
        } else if (outcomes[index] != AddOutcome::Added &&
                   outcomes[index] != AddOutcome::NotChosen) {
            notAdded.items.push_back(ItemNotAdded{paths[index], outcomes[index]});
        }
    }
    return notAdded;
}

void ReportItemsNotAdded(HWND dialog, const NotAdded& notAdded) {
    const std::wstring text = NotAddedText(notAdded);
    if (!text.empty()) {
        MessageBoxW(dialog, text.c_str(), ItemsNotAddedCaption, MB_OK | MB_ICONWARNING);
    }
}

// Adds what one pick, drop or paste brought, and names in one box every item that was not added.
void AddPicked(HWND dialog, const std::vector<std::wstring>& paths) {
    ReportItemsNotAdded(dialog, AddItems(dialog, paths));
}

void ReportFillFoldersLeft(HWND dialog, const std::vector<std::wstring>& folders) {
    if (folders.empty()) {
        return;
    }
    std::wstring text = FillFoldersLeftIntro;
    text += L"\n";
    for (const std::wstring& folder : folders) {
        text += L"\n" + folder;
    }
    text += L"\n\n";
    text += FillFoldersLeftAdvice;
    MessageBoxW(dialog, text.c_str(), FillFoldersLeftCaption, MB_OK | MB_ICONINFORMATION);
}

// What waits for the window to be on screen and free to own the boxes: a box at start-up would
// otherwise stand alone, with no window behind, and one during a hand-over would hold its sender.
// The items that could not be added; the volumes' roots, whose flash warning is such a box; the
// fill folders left at start-up.
struct LaterReports {
    NotAdded itemsNotAdded;
    std::vector<std::wstring> volumeRoots;
    std::vector<std::wstring> fillFoldersLeft;
};
LaterReports laterReports;

void OnReportStartItems(HWND dialog) {
    LaterReports reports = std::exchange(laterReports, {});
    Append(reports.itemsNotAdded, AddItems(dialog, reports.volumeRoots));
    ReportItemsNotAdded(dialog, reports.itemsNotAdded);
    ReportFillFoldersLeft(dialog, reports.fillFoldersLeft);
}

// Adds the paths but the volumes' roots, and leaves those and the report of what was not added
// for WM_REPORT_START_ITEMS.
void AddItemsReportLater(HWND dialog, const std::vector<std::wstring>& paths) {
    std::vector<std::wstring> items;
    for (const std::wstring& path : paths) {
        (VolumeRootOf(path).empty() ? items : laterReports.volumeRoots).push_back(path);
    }
    Append(laterReports.itemsNotAdded, AddItems(dialog, items));
    const NotAdded& notAdded = laterReports.itemsNotAdded;
    if (!notAdded.items.empty() || !notAdded.notLocalDrives.empty() ||
        !laterReports.volumeRoots.empty() || !laterReports.fillFoldersLeft.empty()) {
        PostMessageW(dialog, WM_REPORT_START_ITEMS, 0, 0);
    }
}

// Items the Explorer menu hands over: taken only while the window is the user's, the answer telling
// the sender whether they were; the box naming those not added waits, like the command line's, so
// that the sender is not held while it stands.
INT_PTR OnCopyData(HWND dialog, const COPYDATASTRUCT& data) {
    const bool take = data.dwData == ItemHandoffTag && IsWindowEnabled(dialog);
    if (take) {
        AddItemsReportLater(dialog, UnpackItems(data.lpData, data.cbData));
    }
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, take);
    return TRUE;
}

void OnInitDialog(HWND dialog, const MainWindowStart* start) {
    MainWindowHandle = dialog;
    AllowDropMessages(dialog);
    mainWindowApartment.emplace();
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    SetWindowTextW(dialog, MainWindowCaption);
    ScaleDialogIfNeeded(dialog);
    SetWindowIcons(dialog);
    CheckRadioButton(dialog, IDC_METHOD_FIRST, IDC_METHOD_LAST, IDC_METHOD_RANDOM);
    ShredListView(dialog).SetUp();
    CreateStatusBar();
    StartMainWindowKeys(dialog);
    if (start) {
        laterReports.fillFoldersLeft = start->fillFoldersLeft;
        AddItemsReportLater(dialog, start->paths);
    }
}

void OnAddFile(HWND dialog) {
    if (const auto path = PickFileToShred(dialog)) {
        AddPicked(dialog, {*path});
    }
}

void OnAddFolder(HWND dialog) {
    if (const auto path = PickFolderToShred(dialog)) {
        AddPicked(dialog, {*path});
    }
}

void OnShredNow(HWND dialog) {
    ShredListView list(dialog);
    if (list.RowCount() == 0) {
        MessageBoxW(dialog, NoFilesText, NoFilesCaption, MB_OK);
        return;
    }
    if (MessageBoxW(dialog, ConfirmShredText, ConfirmShredCaption, MB_YESNO) != IDYES) {
        return;
    }
    RunShredJob(list);
}

void OnAbout(HWND dialog) {
    DialogBoxParamW(AppInstance, MAKEINTRESOURCEW(IDD_ABOUT), dialog, AboutDialog, 0);
}

// Only while the window is the user's: not while a box, a job or the About box stands over it.
void OnPaste(HWND dialog) {
    if (IsWindowEnabled(dialog)) {
        AddPicked(dialog, ClipboardPaths(dialog));
    }
}

void OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_EXIT:
        EndDialog(dialog, 0);
        break;
    case IDC_ABOUT:
        OnAbout(dialog);
        break;
    case IDC_CLEAR_LIST:
        ShredListView(dialog).Clear();
        break;
    case IDC_ADD_FOLDER:
        OnAddFolder(dialog);
        break;
    case IDC_ADD_FILE:
        OnAddFile(dialog);
        break;
    case IDC_SHRED_NOW:
        OnShredNow(dialog);
        break;
    case IDC_REMOVE_ITEM:
        ShredListView(dialog).RemoveSelected();
        break;
    case IDM_PASTE_ITEMS:
        OnPaste(dialog);
        break;
    default:
        break;
    }
}

void OnDropFiles(HWND dialog, HDROP drop) {
    const DropHandle owned(drop);
    if (IsWindowEnabled(dialog)) {
        AddPicked(dialog, DroppedPaths(owned.Get()));
    }
}

void OnNotify(const NMHDR& header) {
    if (header.idFrom == IDC_SHRED_LIST && header.code == LVN_DELETEITEM) {
        ShredListView::ReleaseRowRecord(reinterpret_cast<const NMLISTVIEW&>(header).lParam);
    }
}

void OnDestroy(HWND dialog) {
    StopMainWindowKeys(dialog);
    // While the window can still hear of each row going, so that every row's record goes too.
    ShredListView(dialog).Clear();
    mainWindowApartment.reset();
}

// While a long add fills the list, the wait cursor over the whole window.
BOOL OnSetCursor(HWND dialog) {
    if (!ShowListFillingCursor(dialog)) {
        return FALSE;
    }
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

void OnClose(HWND dialog) {
    EndDialog(dialog, 0);
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, reinterpret_cast<const MainWindowStart*>(lParam));
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    case WM_DROPFILES:
        OnDropFiles(dialog, reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_COPYDATA:
        return OnCopyData(dialog, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_REPORT_START_ITEMS:
        OnReportStartItems(dialog);
        return TRUE;
    case WM_NOTIFY:
        // The list's own handling goes on: the answer stays FALSE.
        OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return FALSE;
    case WM_DESTROY:
        OnDestroy(dialog);
        return FALSE;
    case WM_CLOSE:
        OnClose(dialog);
        return TRUE;
    case WM_SETCURSOR:
        return OnSetCursor(dialog);
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK MainDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind into the dialog manager; a failed command simply does nothing more.
    try {
        return HandleMessage(dialog, message, wParam, lParam);
    } catch (...) {
        return TRUE;
    }
}
