#include "main_window_fixture.h"
#include "mainwindow/current_folder.h"
#include "mainwindow/path_pickers.h"
#include "support/temp_folder.h"
#include "support/ui_test.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

namespace {

using Rows = std::vector<std::vector<std::wstring>>;

// Types a file name into an open-file dialog and presses Open.
void ChooseInFileDialog(HWND fileDialog, const std::wstring& path) {
    const HWND nameBox = GetDlgItem(fileDialog, cmb13) ? GetDlgItem(fileDialog, cmb13)
                                                       : GetDlgItem(fileDialog, edt1);
    ASSERT_NE(nullptr, nameBox) << "no file name box";
    SetWindowTextW(nameBox, path.c_str());
    PostDialogButton(fileDialog, IDOK);
}

// Opens the file's folder in the dialog first, as a person browsing does, then chooses the file
// by its name there.
struct BrowsedChoice {
    HWND fileDialog = nullptr;
    std::wstring name;
};
BrowsedChoice browsedChoice;

void CALLBACK ChooseNameInBrowsedFolder(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    ChooseInFileDialog(browsedChoice.fileDialog, browsedChoice.name);
}

void ChooseThroughItsFolder(HWND fileDialog, const std::wstring& folder, const std::wstring& name) {
    ChooseInFileDialog(fileDialog, folder);
    browsedChoice = BrowsedChoice{fileDialog, name};
    SetTimer(nullptr, 0, 200, ChooseNameInBrowsedFolder);
}

// What the open-file dialog does to the current folder when it is called plainly.
std::wstring FolderAfterPlainOpenDialog(const std::wstring& folder, const std::wstring& name) {
    wchar_t chosen[MAX_PATH] = {};
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST;
    DialogWatcher watcher(
        [&](HWND fileDialog) { ChooseThroughItsFolder(fileDialog, folder, name); });
    EXPECT_TRUE(GetOpenFileNameW(&dialog));
    return CurrentFolder();
}

TEST_F(MainWindowTest, AddFileAddsTheChosenFileAndKeepsTheCurrentFolder) {
    TempFolder folder;
    const std::wstring path = folder / L"chosen.txt";
    WriteTestFile(path, std::string(4096, 'c'));
    const std::wstring start = CurrentFolder();
    const CurrentFolderScope restore;
    ASSERT_NE(folder.Path(), start);
    ASSERT_EQ(folder.Path(), FolderAfterPlainOpenDialog(folder.Path(), L"chosen.txt"))
        << "the plain dialog no longer moves the current folder, so this test shows nothing";
    ASSERT_TRUE(SetCurrentDirectoryW(start.c_str()));

    HWND owner = nullptr;
    DialogWatcher watcher([&](HWND fileDialog) {
        owner = GetWindow(fileDialog, GW_OWNER);
        ChooseThroughItsFolder(fileDialog, folder.Path(), L"chosen.txt");
    });
    Click(IDC_ADD_FILE);
    EXPECT_EQ(start, CurrentFolder());
    EXPECT_EQ(dialog, owner);
    EXPECT_EQ((Rows{{L"chosen.txt", path, L"4 KB"}}), ListRows(list, 3));
}

// What Add File hands the open-file dialog, instead of showing it.
std::vector<OPENFILENAMEW> openFileCalls;
BOOL WINAPI RecordOpenFileCall(LPOPENFILENAMEW dialog) {
    openFileCalls.push_back(*dialog);
    return FALSE;
}

// Deleting a shortcut in Explorer deletes the shortcut: the dialog is asked to return a chosen
// shortcut as itself, never the file it points to. (Wine's dialog never follows a shortcut, with
// or without the flag, so only the request can be seen here.)
TEST_F(MainWindowTest, AddFileAsksForAShortcutAsItselfAndOneExistingFile) {
    openFileCalls.clear();
    ShowOpenFileDialog = RecordOpenFileCall;
    Click(IDC_ADD_FILE);
    ShowOpenFileDialog = GetOpenFileNameW;
    ASSERT_EQ(1u, openFileCalls.size());
    EXPECT_EQ(static_cast<DWORD>(OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_NODEREFERENCELINKS),
              openFileCalls[0].Flags);
    EXPECT_EQ(dialog, openFileCalls[0].hwndOwner);
    EXPECT_EQ(0, ListItemCount(list));
}

// The texts of an open-file dialog's filter list, read once the dialog has filled it, and then the
// dialog cancelled.
HWND filteredDialog = nullptr;
std::vector<std::wstring> filterTexts;
std::wstring startFolder;

void CALLBACK ReadFiltersAndCancel(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(filteredDialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    startFolder = folder;
    const HWND filter = GetDlgItem(filteredDialog, cmb1);
    const int count = static_cast<int>(SendMessageW(filter, CB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        wchar_t text[MAX_PATH] = {};
        SendMessageW(filter, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        filterTexts.emplace_back(text);
    }
    PostDialogButton(filteredDialog, IDCANCEL);
}

// The program's current folder is the system folder, full of files, where the dialog would
// otherwise open: it starts in the user's documents instead.
TEST_F(MainWindowTest, CancellingAddFileAddsNothing) {
    const CurrentFolderScope restore;
    ASSERT_TRUE(MoveCurrentFolderToSystemFolder());
    ASSERT_FALSE(DocumentsFolder().empty());
    int shown = 0;
    filterTexts.clear();
    startFolder.clear();
    DialogWatcher watcher([&](HWND fileDialog) {
        ++shown;
        filteredDialog = fileDialog;
        SetTimer(nullptr, 0, 200, ReadFiltersAndCancel);
    });
    Click(IDC_ADD_FILE);
    EXPECT_EQ(1, shown);
    EXPECT_EQ(std::vector<std::wstring>{L"All Files (*.*)"}, filterTexts);
    EXPECT_EQ(0, lstrcmpiW(DocumentsFolder().c_str(), startFolder.c_str()))
        << "started in " << testing::PrintToString(startFolder);
    EXPECT_EQ(0, ListItemCount(list));
}

// The selected folder's name in a folder browser's tree.
std::wstring SelectedTreeText(HWND browser) {
    HWND tree = nullptr;
    for (HWND child = GetWindow(browser, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassNameOf(child) == WC_TREEVIEWW) {
            tree = child;
        }
    }
    const auto item =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    wchar_t text[MAX_PATH] = {};
    TVITEMW info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = MAX_PATH;
    if (!tree || !item || !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info))) {
        return {};
    }
    return text;
}

// Selects a folder in an open folder browser and presses OK once the tree shows it selected.
// The browser fills its tree from the shell as it goes, so the selection is asked for again on
// each tick of a timer until it holds, within a deadline.
struct BrowserChoice {
    HWND browser = nullptr;
    std::wstring path;
    std::wstring name;
    ULONGLONG deadline = 0;
    bool selected = false;
};
BrowserChoice* browserChoice = nullptr;

void CALLBACK SelectInBrowser(HWND, UINT, UINT_PTR timer, DWORD) {
    BrowserChoice& choice = *browserChoice;
    SendMessageW(choice.browser, BFFM_SETSELECTIONW, TRUE,
                 reinterpret_cast<LPARAM>(choice.path.c_str()));
    choice.selected = SelectedTreeText(choice.browser) == choice.name;
    if (choice.selected || GetTickCount64() > choice.deadline) {
        KillTimer(nullptr, timer);
        PostDialogButton(choice.browser, choice.selected ? IDOK : IDCANCEL);
    }
}

TEST_F(MainWindowTest, AddFolderAddsTheChosenFolder) {
    TempFolder folder;
    const std::wstring path = folder / L"chosen folder";
    MakeTestFolder(path);
    BrowserChoice choice;
    choice.path = path;
    choice.name = L"chosen folder";
    browserChoice = &choice;
    std::wstring prompt;
    DialogWatcher watcher([&](HWND browser) {
        for (HWND child = GetWindow(browser, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (WindowText(child) == L"Please select a folder to shred:") {
                prompt = WindowText(child);
            }
        }
        choice.browser = browser;
        choice.deadline = GetTickCount64() + 10000;
        SetTimer(nullptr, 0, 20, SelectInBrowser);
    });
    Click(IDC_ADD_FOLDER);
    browserChoice = nullptr;
    EXPECT_EQ(L"Please select a folder to shred:", prompt);
    ASSERT_TRUE(choice.selected) << "the browser never showed the folder selected";
    EXPECT_EQ((Rows{{L"chosen folder", path, L"<DIR>"}}), ListRows(list, 3));
}

TEST_F(MainWindowTest, CancellingAddFolderAddsNothing) {
    int shown = 0;
    DialogWatcher watcher([&](HWND browser) {
        ++shown;
        PostDialogButton(browser, IDCANCEL);
    });
    Click(IDC_ADD_FOLDER);
    EXPECT_EQ(1, shown);
    EXPECT_EQ(0, ListItemCount(list));
}

TEST(FolderPathOf, OnlyFileSystemItemsHaveAPath) {
    EXPECT_EQ(std::nullopt, FolderPathOf(nullptr));

    PIDLIST_ABSOLUTE computer = nullptr;
    ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer));
    EXPECT_EQ(std::nullopt, FolderPathOf(computer));
    CoTaskMemFree(computer);

    TempFolder folder;
    PIDLIST_ABSOLUTE real = ILCreateFromPathW(folder.Path().c_str());
    ASSERT_NE(nullptr, real);
    EXPECT_EQ(folder.Path(), FolderPathOf(real));
    CoTaskMemFree(real);
}

TEST(CommandLinePaths, EachArgumentAfterTheProgramIsOnePath) {
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\a b\\c.txt", L"D:\\plain", L"\\\\server\\share\\x"}),
              CommandLinePaths(L"\"C:\\Program Files\\Ferrolet\\Ferrolet.exe\" \"C:\\a b\\c.txt\" "
                               L"D:\\plain  \\\\server\\share\\x"));
    EXPECT_EQ(std::vector<std::wstring>{}, CommandLinePaths(L"Ferrolet.exe"));
    // A backslash is itself, even before a quote, and each quote turns quoting on or off.
    EXPECT_EQ((std::vector<std::wstring>{L"D:\\", L"E:\\x y", L"relative.txt", L"C:\\a b\\c"}),
              CommandLinePaths(L"Ferrolet.exe \"D:\\\" \"E:\\x y\" relative.txt C:\\\"a b\"\\c"));
}

} // namespace
