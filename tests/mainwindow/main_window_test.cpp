#include "main_window_fixture.h"
#include "mainwindow/drop_message_filter.h"
#include "mainwindow/shred_list_view.h"
#include "mainwindow/status_bar.h"
#include "support/temp_folder.h"
#include "support/ui_test.h"

#include <commctrl.h>

#include <vector>

namespace {

using Rows = std::vector<std::vector<std::wstring>>;

// The texts as they must read, apart from where the program keeps them.
const wchar_t* const kNoFilesText = L"You haven't entered any files to delete!";
const wchar_t* const kConfirmText =
    L"Are you sure you want to permanently delete these files and directories?";
const wchar_t* const kConfirmCaption = L"Are you sure you want to continue?";

// Every change of the main window's message filter, instead of the platform's.
struct FilterChange {
    HWND window;
    UINT message;
    DWORD action;
    bool hasStatus;
    bool operator==(const FilterChange&) const = default;
};
std::vector<FilterChange> filterChanges;

BOOL WINAPI RecordFilterChange(HWND window, UINT message, DWORD action,
                               PCHANGEFILTERSTRUCT status) {
    filterChanges.push_back(FilterChange{window, message, action, status != nullptr});
    return TRUE;
}

// Explorer runs with less integrity than the elevated program; a drop from it arrives only
// through these three holes in the window's filter, and nothing else may get through.
TEST(MainWindowMessageFilter, StartUpLetsExactlyADropsMessagesThrough) {
    filterChanges.clear();
    ChangeMessageFilter = RecordFilterChange;
    AppInstance = GetModuleHandleW(nullptr);
    const HWND dialog =
        CreateDialogParamW(AppInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialog, 0);
    ChangeMessageFilter = ChangeWindowMessageFilterEx;
    ASSERT_NE(nullptr, dialog);
    DestroyWindow(dialog);
    const std::vector<FilterChange> expected = {
        {dialog, WM_DROPFILES, MSGFLT_ALLOW, false},
        {dialog, WM_COPYDATA, MSGFLT_ALLOW, false},
        {dialog, 0x0049, MSGFLT_ALLOW, false},
    };
    EXPECT_EQ(expected, filterChanges);
}

int CheckedMethod(HWND dialog) {
    int checked = 0;
    for (int id = IDC_METHOD_FIRST; id <= IDC_METHOD_LAST; ++id) {
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) {
            EXPECT_EQ(0, checked) << "two methods checked: " << checked << " and " << id;
            checked = id;
        }
    }
    return checked;
}

std::wstring ColumnHeader(HWND list, int column, int* width) {
    wchar_t text[64] = {};
    LVCOLUMNW info = {};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    info.pszText = text;
    info.cchTextMax = 64;
    if (!SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&info))) {
        return L"<none>";
    }
    *width = info.cx;
    EXPECT_EQ(LVCFMT_LEFT, info.fmt & LVCFMT_JUSTIFYMASK);
    return text;
}

TEST_F(MainWindowTest, StartsWithRandomDataAnEmptyListAndItsColumns) {
    EXPECT_EQ(dialog, MainWindowHandle);
    EXPECT_EQ(L"Ferrolet Free v1.0", WindowText(dialog));
    EXPECT_EQ(IDC_METHOD_RANDOM, CheckedMethod(dialog));
    EXPECT_EQ(0, ListItemCount(list));
    EXPECT_EQ(static_cast<LRESULT>(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP),
              SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));

    const std::pair<const wchar_t*, int> columns[] = {
        {L"Name", 113}, {L"Path", 200}, {L"Size", 69}};
    for (int column = 0; column < 3; ++column) {
        int width = 0;
        EXPECT_EQ(columns[column].first, ColumnHeader(list, column, &width));
        EXPECT_EQ(columns[column].second, width);
    }
    int width = 0;
    EXPECT_EQ(L"<none>", ColumnHeader(list, 3, &width));

    EXPECT_NE(0, SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0));
    EXPECT_NE(0, SendMessageW(dialog, WM_GETICON, ICON_BIG, 0));
}

TEST_F(MainWindowTest, MethodButtonsFormOneGroup) {
    Click(IDC_METHOD_GUTMANN);
    EXPECT_EQ(IDC_METHOD_GUTMANN, CheckedMethod(dialog));
    Click(IDC_METHOD_ZEROS);
    EXPECT_EQ(IDC_METHOD_ZEROS, CheckedMethod(dialog));
    Command(IDC_METHOD_DOD7);
    EXPECT_EQ(IDC_METHOD_ZEROS, CheckedMethod(dialog)) << "the dialog does not change the check";
}

TEST_F(MainWindowTest, StatusBarHasTwoPartsAcrossTheClientWidth) {
    const HWND bar = GetDlgItem(dialog, IDC_STATUS_BAR);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(L"msctls_statusbar32", ClassNameOf(bar));
    EXPECT_EQ(bar, StatusBar);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE),
              GetWindowLongPtrW(bar, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP));

    RECT client = {};
    GetClientRect(dialog, &client);
    int edges[4] = {-2, -2, -2, -2};
    ASSERT_EQ(2, SendMessageW(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)));
    EXPECT_EQ(client.right * 88 / 100, edges[0]);
    EXPECT_EQ(client.right, edges[1]);

    wchar_t text[64] = {};
    EXPECT_EQ(5, LOWORD(SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text))));
    EXPECT_STREQ(L"Ready", text);
    SendMessageW(bar, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(L"Version 1.0", text);

    RECT barRect = {};
    GetWindowRect(bar, &barRect);
    POINT bottom = {0, client.bottom};
    ClientToScreen(dialog, &bottom);
    EXPECT_EQ(bottom.y, barRect.bottom) << "along the bottom edge";
}

TEST_F(MainWindowTest, RealFilesGiveTheirSizeTextsThroughTheControl) {
    TempFolder folder;
    WriteTestFile(folder / L"big.bin", std::string(1536, 'b'));
    WriteTestFile(folder / L"held.bin", "held");
    const HANDLE held = CreateFileW((folder / L"held.bin").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    AddShredListItem((folder / L"big.bin").c_str(), list);
    AddShredListItem(folder.Path().c_str(), list);
    AddShredListItem((folder / L"gone.bin").c_str(), list);
    AddShredListItem((folder / L"held.bin").c_str(), list);
    AddShredListItem(L"relative.bin", list);
    AddShredListItem(L"", list);
    CloseHandle(held);

    const std::wstring folderName = folder.Path().substr(folder.Path().rfind(L'\\') + 1);
    const Rows expected = {
        {L"big.bin", folder / L"big.bin", L"2 KB"},
        {folderName, folder.Path(), L"<DIR>"},
        {L"gone.bin", folder / L"gone.bin", L""},
        {L"held.bin", folder / L"held.bin", L""},
    };
    EXPECT_EQ(expected, ListRows(list, 3));
}

TEST_F(MainWindowTest, DuplicatesGiveTheirOwnRowsAndADriveRootNone) {
    TempFolder folder;
    WriteTestFile(folder / L"twice.txt", "2");
    AddShredListItem((folder / L"twice.txt").c_str(), list);
    AddShredListItem(L"C:\\", list);
    AddShredListItem((folder / L"twice.txt").c_str(), list);
    const Rows expected = {{L"twice.txt", folder / L"twice.txt", L"1 KB"},
                           {L"twice.txt", folder / L"twice.txt", L"1 KB"}};
    EXPECT_EQ(expected, ListRows(list, 3));
}

TEST_F(MainWindowTest, DroppedFilesAndFoldersArriveInDropOrder) {
    TempFolder folder;
    WriteTestFile(folder / L"one.txt", "1");
    WriteTestFile(folder / L"two.txt", std::string(2048, '2'));
    WriteTestFile(folder / L"three.txt", "");
    MakeTestFolder(folder / L"four");
    MakeTestFolder(folder / L"five");
    const std::vector<std::wstring> paths = {folder / L"one.txt", folder / L"four",
                                             folder / L"two.txt", folder / L"five",
                                             folder / L"three.txt"};

    SendMessageW(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle(paths)), 0);

    const Rows expected = {
        {L"one.txt", paths[0], L"1 KB"},   {L"four", paths[1], L"<DIR>"},
        {L"two.txt", paths[2], L"2 KB"},   {L"five", paths[3], L"<DIR>"},
        {L"three.txt", paths[4], L"0 KB"},
    };
    EXPECT_EQ(expected, ListRows(list, 3));
}

TEST_F(MainWindowTest, ADroppedPathLongerThanMaxPathIsTakenWhole) {
    TempFolder folder;
    std::wstring path = folder.Path();
    for (wchar_t letter : {L'a', L'b', L'c'}) {
        path += L"\\" + std::wstring(100, letter);
        MakeTestFolder(L"\\\\?\\" + path);
    }
    path += L"\\deep.txt";
    ASSERT_GT(path.size(), 300u);
    WriteTestFile(L"\\\\?\\" + path, std::string(3000, 'x'));

    SendMessageW(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle({path})), 0);

    const Rows expected = {{L"deep.txt", path, L"3 KB"}};
    EXPECT_EQ(expected, ListRows(list, 3));
}

class MainWindowWithFiveRows : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        for (int i = 0; i < 5; ++i) {
            paths.push_back(L"C:\\ferrolet-no-such-folder\\row" + std::to_wstring(i));
            AddShredListItem(paths.back().c_str(), list);
        }
        ASSERT_EQ(5, ListItemCount(list));
    }
    std::vector<std::wstring> Paths() const {
        std::vector<std::wstring> result;
        for (int row = 0; row < ListItemCount(list); ++row) {
            result.push_back(ListItemText(list, row, 1));
        }
        return result;
    }
    std::vector<std::wstring> paths;
};

TEST_F(MainWindowWithFiveRows, RemoveItemTakesEverySelectedRow) {
    Click(IDC_REMOVE_ITEM);
    EXPECT_EQ(paths, Paths()) << "nothing selected, nothing removed";

    SelectListItem(list, 1, true);
    SelectListItem(list, 3, true);
    Click(IDC_REMOVE_ITEM);
    EXPECT_EQ((std::vector<std::wstring>{paths[0], paths[2], paths[4]}), Paths());
    EXPECT_EQ(L"row2", ListItemText(list, 1, 0));
}

TEST_F(MainWindowWithFiveRows, ClearListEmptiesItAndAnEmptyListStaysEmpty) {
    SelectListItem(list, 2, true);
    Click(IDC_CLEAR_LIST);
    EXPECT_EQ(0, ListItemCount(list));
    Click(IDC_CLEAR_LIST);
    EXPECT_EQ(0, ListItemCount(list));
}

TEST_F(MainWindowWithFiveRows, TheDeleteKeyInTheListRemovesNothing) {
    SelectListItem(list, 0, true);
    SendMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
    SendMessageW(list, WM_KEYUP, VK_DELETE, 0);
    EXPECT_EQ(paths, Paths());
}

TEST_F(MainWindowTest, ShredNowOnAnEmptyListSaysNoFilesAndAsksNothing) {
    MessageBoxAnswerer answerer(L"No files", kNoFilesText, IDOK);
    Click(IDC_SHRED_NOW);
    ASSERT_EQ(1u, answerer.Seen().size());
    EXPECT_EQ(std::vector<int>{IDOK}, answerer.Seen()[0].buttons);
    EXPECT_TRUE(IsWindowEnabled(dialog));
}

TEST_F(MainWindowWithFiveRows, AnsweringNoLeavesListAndMethodAsTheyWere) {
    Click(IDC_METHOD_DOD7);
    SelectListItem(list, 4, true);
    MessageBoxAnswerer answerer(kConfirmCaption, kConfirmText, IDNO);
    Click(IDC_SHRED_NOW);
    ASSERT_EQ(1u, answerer.Seen().size());
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), answerer.Seen()[0].buttons);
    EXPECT_EQ(paths, Paths());
    EXPECT_EQ(IDC_METHOD_DOD7, CheckedMethod(dialog));
    EXPECT_EQ(4, SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

TEST_F(MainWindowTest, AboutRunsAModalDialogOwnedByTheMainWindow) {
    if (!FindResourceW(AppInstance, MAKEINTRESOURCEW(IDD_ABOUT), RT_DIALOG)) {
        GTEST_SKIP() << "no About template linked";
    }
    HWND about = nullptr;
    bool ownerDisabled = false;
    DialogWatcher watcher([&](HWND shown) {
        about = shown;
        ownerDisabled = !IsWindowEnabled(dialog);
        PostMessageW(shown, WM_CLOSE, 0, 0);
    });
    Click(IDC_ABOUT);
    ASSERT_NE(nullptr, about);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(dialog));
}

TEST_F(MainWindowTest, CommandIdOkDoesNothing) {
    AddShredListItem(L"C:\\ferrolet-no-such-folder\\row", list);
    Command(IDOK);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(1, ListItemCount(list));
}

INT_PTR RunMainWindow(const std::function<void(HWND)>& action) {
    AppInstance = GetModuleHandleW(nullptr);
    return RunModalDialog(IDD_MAIN, MainDialog, action);
}

TEST(MainWindowModal, ExitEndsTheWindowWithZeroAndFocusStartsOnExit) {
    HWND focused = nullptr;
    HWND exit = nullptr;
    const INT_PTR result = RunMainWindow([&](HWND dialog) {
        focused = GetFocus();
        exit = GetDlgItem(dialog, IDC_EXIT);
        SendMessageW(exit, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(0, result);
    EXPECT_EQ(exit, focused);
}

TEST(MainWindowModal, EscapeEndsTheWindowLikeExit) {
    const INT_PTR result = RunMainWindow([](HWND dialog) {
        const HWND target = GetDlgItem(dialog, IDC_ADD_FILE);
        PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    });
    EXPECT_EQ(0, result);
}

TEST(MainWindowModal, IdOkLeavesTheWindowOpen) {
    bool visibleAfterOk = false;
    const INT_PTR result = RunMainWindow([&](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        visibleAfterOk = IsWindowVisible(dialog);
        EndDialog(dialog, 77);
    });
    EXPECT_TRUE(visibleAfterOk);
    EXPECT_EQ(77, result);
}

TEST(MainWindowModal, ClosingTheWindowEndsItWithZero) {
    const INT_PTR result = RunMainWindow([](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); });
    EXPECT_EQ(0, result);
}

TEST(MainWindowModal, EveryStartIsFreshWhateverTheLastRunChose) {
    RunMainWindow([](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_METHOD_GUTMANN, BM_CLICK, 0, 0);
        AddShredListItem(L"C:\\ferrolet-no-such-folder\\row", GetDlgItem(dialog, IDC_SHRED_LIST));
        EndDialog(dialog, 0);
    });
    int method = 0;
    int rows = -1;
    RunMainWindow([&](HWND dialog) {
        method = CheckedMethod(dialog);
        rows = ListItemCount(GetDlgItem(dialog, IDC_SHRED_LIST));
        EndDialog(dialog, 0);
    });
    EXPECT_EQ(IDC_METHOD_RANDOM, method);
    EXPECT_EQ(0, rows);
}

} // namespace
