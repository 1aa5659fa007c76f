#include "main_window_fixture.h"
#include "job/free_space_job.h"
#include "mainwindow/free_space_roots.h"
#include "mainwindow/item_readings.h"
#include "mainwindow/items_not_added.h"
#include "mainwindow/path_pickers.h"
#include "mainwindow/shred_list_view.h"
#include "mainwindow/status_bar.h"
#include "engine/long_path.h"
#include "handoff/item_handoff.h"
#include "support/linux_side.h"
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

struct ShownBox {
    SeenMessageBox box;
    HWND owner = nullptr;
};

// Drives as a test wants them: N: a network drive, every other one of driveType, answering
// seekPenalty, with 5 GiB free.
struct StandInDrives {
    static inline UINT driveType = DRIVE_FIXED;
    static inline SeekPenalty seekPenalty = SeekPenalty::Incurred;
    StandInDrives() {
        QueryDriveType = [](LPCWSTR root) { return root[0] == L'N' ? DRIVE_REMOTE : driveType; };
        QuerySeekPenalty = [](const std::wstring&) { return seekPenalty; };
        ReadVolumeFreeSpace = [](const std::wstring&, ULONGLONG& bytes) {
            bytes = 5ull << 30;
            return true;
        };
    }
    ~StandInDrives() {
        QueryDriveType = GetDriveTypeW;
        QuerySeekPenalty = saved_;
        ReadVolumeFreeSpace = ReadFreeSpace;
        driveType = DRIVE_FIXED;
        seekPenalty = SeekPenalty::Incurred;
    }
    SeekPenaltyQuery saved_ = QuerySeekPenalty;
};
const std::vector<std::wstring> kFreeSpaceOfC = {
    L"Free space of C:",
    L"C:\\ (only its free space is overwritten: nothing stored on it is touched)", L"5242880 KB"};

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

TEST_F(MainWindowTest, StatusBarHasTwoPartsReadyAndTheVersion) {
    const HWND bar = GetDlgItem(dialog, IDC_STATUS_BAR);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(L"msctls_statusbar32", ClassNameOf(bar));
    EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE),
              GetWindowLongPtrW(bar, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP));

    EXPECT_EQ(2, SendMessageW(bar, SB_GETPARTS, 0, 0));

    wchar_t text[64] = {};
    EXPECT_EQ(5, LOWORD(SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text))));
    EXPECT_STREQ(L"Ready", text);
    SendMessageW(bar, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(L"Version 1.0", text);
}

// The size is read without opening the file: a file that another program holds open with no
// sharing still gives its size.
TEST_F(MainWindowTest, RealFilesGiveTheirSizeTextsThroughTheControl) {
    TempFolder folder;
    WriteTestFile(folder / L"big.bin", std::string(1536, 'b'));
    const KernelHandle held = HoldWithoutSharing(folder / L"big.bin");
    const StandInDrives drives;
    EXPECT_EQ(AddOutcome::Added, Add(folder / L"big.bin"));
    EXPECT_EQ(AddOutcome::Added, Add(folder.Path()));
    EXPECT_EQ(AddOutcome::Added, Add(L"C:\\"));
    // A drive listed twice is listed once, and only a local one is listed.
    EXPECT_EQ(AddOutcome::AlreadyListed, Add(L"\\\\?\\c:\\"));
    EXPECT_EQ(AddOutcome::NotALocalVolume, Add(L"N:\\"));
    EXPECT_EQ(AddOutcome::NotALocalVolume, Add(L"\\\\server\\share"));

    const std::wstring folderName = folder.Path().substr(folder.Path().rfind(L'\\') + 1);
    const Rows expected = {{L"big.bin", folder / L"big.bin", L"2 KB"},
                           {folderName, folder.Path(), L"<DIR>"},
                           kFreeSpaceOfC};
    EXPECT_EQ(expected, ListRows(list, 3));
}

// Removes names that the test folder's clean-up, which goes by Win32 names, cannot get past.
struct OddNamesRemover {
    const TempFolder& folder;
    std::vector<std::wstring> names;
    ~OddNamesRemover() {
        for (const std::wstring& name : names) {
            DeleteFileW(ExtendedPath(folder / name).c_str());
        }
    }
};

// Win32 path rules strip a final dot or space, so such a name asked without the extended-length
// form is taken for the item without them, or for nothing when there is none.
TEST_F(MainWindowTest, NamesEndingInADotOrASpaceAreThemselves) {
    TempFolder folder;
    const OddNamesRemover remover{folder, {L"a.", L"a ", L"alone."}};
    ASSERT_TRUE(MakeLinuxFile(folder.Path(), L"a", std::string(2048, 'a')));
    ASSERT_TRUE(MakeLinuxFile(folder.Path(), L"a.", std::string(5120, 'd')));
    ASSERT_TRUE(MakeLinuxFile(folder.Path(), L"a ", std::string(7168, 's')));
    ASSERT_TRUE(MakeLinuxFile(folder.Path(), L"alone.", std::string(3072, 'l')));
    for (const wchar_t* name : {L"a", L"a.", L"a ", L"alone."}) {
        EXPECT_EQ(AddOutcome::Added, Add(folder / name));
    }
    const Rows expected = {
        {L"a", folder / L"a", L"2 KB"},
        {L"a.", folder / L"a.", L"5 KB"},
        {L"a ", folder / L"a ", L"7 KB"},
        {L"alone.", folder / L"alone.", L"3 KB"},
    };
    EXPECT_EQ(expected, ListRows(list, 3));
}

// The same item under a second spelling of its path: a short (8.3) name reaches a long one.
std::wstring ShortPath(const std::wstring& path) {
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(shortPath) : std::wstring();
}

bool PutOnClipboard(const std::vector<std::wstring>& paths) {
    if (!OpenClipboard(nullptr)) {
        return false;
    }
    EmptyClipboard();
    const bool put = SetClipboardData(CF_HDROP, MakeDropHandle(paths)) != nullptr;
    CloseClipboard();
    return put;
}

TEST_F(MainWindowTest, NoRowTwiceAndNoRowInsideAnother) {
    TempFolder temp;
    const std::wstring folder = temp / L"Listed folder of a long name";
    MakeTestFolder(folder);
    const std::wstring file = folder + L"\\chosen.txt";
    WriteTestFile(file, "c");
    WriteTestFile(folder + L"\\other.txt", "o");
    const std::wstring shortFolder = ShortPath(folder);
    ASSERT_FALSE(shortFolder.empty());
    ASSERT_NE(folder, shortFolder) << "no short name to test with";
    const std::wstring fileUpper = temp.Path() + L"\\LISTED FOLDER OF A LONG NAME\\CHOSEN.TXT";

    EXPECT_EQ(AddOutcome::Added, Add(file));
    for (const std::wstring& again :
         {file, fileUpper, L"\\\\?\\" + file, shortFolder + L"\\chosen.txt"}) {
        EXPECT_EQ(AddOutcome::AlreadyListed, Add(again)) << testing::PrintToString(again);
    }
    // A folder that holds a listed row is added after it, and nothing inside it comes after.
    EXPECT_EQ(AddOutcome::Added, Add(folder));
    for (const std::wstring& inside :
         {folder + L"\\other.txt", shortFolder, shortFolder + L"\\other.txt"}) {
        EXPECT_EQ(AddOutcome::AlreadyListed, Add(inside)) << testing::PrintToString(inside);
    }
    // One paste of many, read ahead on the workers, adds only the new items: not the listed ones
    // under another spelling, not those inside the listed folder, not one of its own items twice,
    // not a root, a path that is not full or one that cannot be opened; it names them in order.
    WriteTestFile(temp / L"one.txt", "1");
    WriteTestFile(temp / L"two.txt", "2");
    const std::vector<std::wstring> pasted(
        {L"N:\\", L"here.txt", temp / L"gone.txt", temp / L"one.txt", fileUpper,
         shortFolder + L"\\other.txt", folder + L"\\other.txt", temp / L"ONE.TXT", file,
         temp / L"two.txt", shortFolder, temp / L"Two.txt"});
    static_assert(ItemsWorthReadingAhead <= 10, "the paste's ten items must be read ahead");
    ASSERT_TRUE(PutOnClipboard(pasted));
    const StandInDrives drives;
    std::vector<std::wstring> boxes;
    DialogWatcher watcher([&](HWND box) {
        boxes.push_back(ReadMessageBox(box).text);
        PostDialogButton(box, IDOK);
    });
    Command(IDM_PASTE_ITEMS);
    const Rows expected = {{L"chosen.txt", file},
                           {L"Listed folder of a long name", folder},
                           {L"one.txt", temp / L"one.txt"},
                           {L"two.txt", temp / L"two.txt"}};
    EXPECT_EQ(expected, ListRows(list, 2));
    ASSERT_EQ(1u, boxes.size());
    std::vector<ItemNotAdded> notAdded = {{pasted[1], AddOutcome::NotAFullPath},
                                          {pasted[2], AddOutcome::Unreadable}};
    for (std::size_t index : {4, 5, 6, 7, 8, 10, 11}) {
        notAdded.push_back({pasted[index], AddOutcome::AlreadyListed});
    }
    EXPECT_EQ(0u, boxes[0].find(ItemsNotAddedText(notAdded))) << boxes[0];
    EXPECT_NE(std::wstring::npos, boxes[0].find(L"\nN:\\ (a network drive)")) << boxes[0];
}

// A link in a folder above the item leads to its target: the row shows where the path led.
TEST_F(MainWindowTest, ARowShowsWhereItsPathLed) {
    TempFolder folder;
    MakeTestFolder(folder / L"target");
    WriteTestFile(folder / L"target\\item.txt", "i");
    ASSERT_TRUE(MakeLinuxSymlink(folder / L"target", folder.Path(), L"link"));
    EXPECT_EQ(AddOutcome::Added, Add(folder / L"link\\item.txt"));
    EXPECT_EQ((Rows{{L"item.txt", folder / L"target\\item.txt"}}), ListRows(list, 2));
}

// One box for the whole drop names every item that could not be opened, and says what to do on a
// drive letter the administrator cannot see; the others are added.
TEST_F(MainWindowTest, ItemsThatCannotBeOpenedAreNamedInOneBox) {
    TempFolder folder;
    WriteTestFile(folder / L"here.txt", "h");
    const std::vector<std::wstring> paths = {
        folder / L"gone.txt", folder / L"here.txt", folder / L"missing\\deep.txt", L"N:\\",
        L"here.txt",          L"C:/windows/win.ini"};
    const StandInDrives drives;
    std::vector<ShownBox> boxes;
    DialogWatcher watcher([&](HWND box) {
        boxes.push_back({ReadMessageBox(box), GetWindow(box, GW_OWNER)});
        PostDialogButton(box, IDOK);
    });
    SendMessageW(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle(paths)), 0);

    EXPECT_EQ((Rows{{L"here.txt", paths[1]}}), ListRows(list, 2));
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(dialog, boxes[0].owner);
    EXPECT_EQ(L"Items not added", boxes[0].box.caption);
    EXPECT_EQ(std::vector<int>{IDOK}, boxes[0].box.buttons);
    const std::wstring& text = boxes[0].box.text;
    const std::wstring notFull = L" \u2014 a full path is needed, with backslashes (like "
                                 L"C:\\folder\\file.txt)\n";
    for (const std::wstring& line :
         {paths[0] + L" \u2014 cannot be opened\n", paths[2] + L" \u2014 cannot be opened\n",
          paths[4] + notFull, paths[5] + notFull}) {
        EXPECT_NE(std::wstring::npos, text.find(L"\n" + line)) << text;
    }
    EXPECT_EQ(std::wstring::npos, text.find(paths[1])) << text;
    EXPECT_NE(std::wstring::npos, text.find(L"\\\\server\\share\\")) << text;
    EXPECT_NE(std::wstring::npos, text.find(L"\nN:\\ (a network drive)")) << text;
}

// Where the drive may be flash storage, its free space is listed only when the user says Yes to
// what a wipe does there.
TEST_F(MainWindowTest, FreeSpaceOnFlashStorageIsListedOnlyOnYes) {
    struct Case {
        UINT driveType;
        SeekPenalty seekPenalty;
        int answer; // 0: no box expected
        AddOutcome outcome;
    };
    for (const Case& c : {Case{DRIVE_FIXED, SeekPenalty::Incurred, 0, AddOutcome::Added},
                          Case{DRIVE_FIXED, SeekPenalty::None, IDYES, AddOutcome::Added},
                          Case{DRIVE_FIXED, SeekPenalty::NoAnswer, IDNO, AddOutcome::NotChosen},
                          Case{DRIVE_REMOVABLE, SeekPenalty::Incurred, IDYES, AddOutcome::Added}}) {
        Command(IDC_CLEAR_LIST);
        const StandInDrives drives;
        StandInDrives::driveType = c.driveType;
        StandInDrives::seekPenalty = c.seekPenalty;
        std::vector<ShownBox> boxes;
        DialogWatcher watcher([&](HWND box) {
            boxes.push_back({ReadMessageBox(box), GetWindow(box, GW_OWNER)});
            PostDialogButton(box, c.answer);
        });
        EXPECT_EQ(c.outcome, Add(L"C:\\")) << c.answer;
        EXPECT_EQ(c.outcome == AddOutcome::Added ? Rows{kFreeSpaceOfC} : Rows{}, ListRows(list, 3));
        ASSERT_EQ(c.answer ? 1u : 0u, boxes.size());
        if (c.answer) {
            EXPECT_EQ(dialog, boxes[0].owner);
            EXPECT_EQ((std::vector<int>{IDYES, IDNO}), boxes[0].box.buttons);
            EXPECT_NE(std::wstring::npos, boxes[0].box.text.find(L"wears the drive"));
            EXPECT_NE(std::wstring::npos, boxes[0].box.text.find(L"fail to write"));
        }
    }
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

// The list is painted once, after the add, scrolled to its first new row.
TEST_F(MainWindowTest, AnAddOfManyEndsWithItsFirstNewRowInView) {
    TempFolder folder;
    std::vector<std::wstring> earlier;
    std::vector<std::wstring> pasted;
    for (int i = 0; i < 40; ++i) {
        earlier.push_back(folder / (L"earlier" + std::to_wstring(i)));
        WriteTestFile(earlier.back(), "e");
        pasted.push_back(folder / (L"pasted" + std::to_wstring(i)));
        WriteTestFile(pasted.back(), "p");
    }
    ShredListView(dialog).Add(earlier);
    ASSERT_EQ(0, SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    ASSERT_TRUE(PutOnClipboard(pasted));

    Command(IDM_PASTE_ITEMS);

    ASSERT_EQ(80, ListItemCount(list));
    const auto top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    const auto shown = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_LE(top, 40);
    EXPECT_GT(top + shown, 40) << "top row " << top << ", " << shown << " rows shown";
}

TEST_F(MainWindowTest, ADroppedPathLongerThanMaxPathIsTakenWhole) {
    TempFolder folder;
    std::wstring path = folder.Path();
    for (wchar_t letter : {L'a', L'b', L'c'}) {
        path += L"\\" + std::wstring(100, letter);
        MakeTestFolder(L"\\\\?\\" + path);
    }
    path += L"\\deep.txt"; // over 300 characters
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
            paths.push_back(folder / (L"row" + std::to_wstring(i)));
            WriteTestFile(paths.back(), "row");
            Add(paths.back());
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
    TempFolder folder;
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

    for (int row = 0; row < 3; ++row) {
        SelectListItem(list, row, true);
    }
    Click(IDC_REMOVE_ITEM);
    EXPECT_EQ(std::vector<std::wstring>{}, Paths()) << "every row selected, every row removed";
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
    TempFolder folder;
    WriteTestFile(folder / L"row", "row");
    Add(folder / L"row");
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
    TempFolder folder;
    WriteTestFile(folder / L"row", "row");
    RunMainWindow([&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_METHOD_GUTMANN, BM_CLICK, 0, 0);
        ShredListView(dialog).Add({folder / L"row"});
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

// While a box, a job or the About box stands over the main window, it is disabled, and what is
// dropped or pasted on it then is not taken.
TEST_F(MainWindowTest, NothingIsDroppedOrPastedWhileTheWindowIsDisabled) {
    TempFolder folder;
    WriteTestFile(folder / L"dropped.txt", "d");
    WriteTestFile(folder / L"pasted.txt", "p");
    ASSERT_TRUE(PutOnClipboard({folder / L"pasted.txt"}));
    EnableWindow(dialog, FALSE);
    SendMessageW(dialog, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDropHandle({folder / L"dropped.txt"})), 0);
    Command(IDM_PASTE_ITEMS);
    EXPECT_EQ(0, ListItemCount(list));

    EnableWindow(dialog, TRUE);
    SendMessageW(dialog, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDropHandle({folder / L"dropped.txt"})), 0);
    Command(IDM_PASTE_ITEMS);
    EXPECT_EQ((Rows{{L"dropped.txt"}, {L"pasted.txt"}}), ListRows(list, 1));
}

// Items the Explorer menu hands over join the list only while the window is the user's; the
// answer tells the sender whether they did, and one that could not be opened is named in a box.
TEST_F(MainWindowTest, HandedOverItemsJoinOnlyWhileTheWindowIsIdle) {
    TempFolder folder;
    WriteTestFile(folder / L"one.txt", "1");
    std::wstring packed = PackItems({folder / L"one.txt", folder / L"gone.txt"});
    const struct {
        const char* what;
        ULONG_PTR tag;
        BOOL enabled;
        LRESULT answer;
        Rows rows;
    } cases[] = {
        {"busy", ItemHandoffTag, FALSE, FALSE, {}},
        {"another program's data", ItemHandoffTag + 1, TRUE, FALSE, {}},
        {"idle", ItemHandoffTag, TRUE, TRUE, {{L"one.txt"}}},
    };
    std::vector<SeenMessageBox> boxes;
    DialogWatcher watcher([&](HWND box) {
        boxes.push_back(ReadMessageBox(box));
        PostDialogButton(box, IDOK);
    });
    for (const auto& row : cases) {
        EnableWindow(dialog, row.enabled);
        COPYDATASTRUCT data = {row.tag, static_cast<DWORD>(packed.size() * sizeof(wchar_t)),
                               packed.data()};
        EXPECT_EQ(row.answer, SendMessageW(dialog, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)))
            << row.what;
        EXPECT_EQ(row.rows, ListRows(list, 1)) << row.what;
    }
    PumpUntil([&] { return !boxes.empty(); }, 10000);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_NE(std::wstring::npos, boxes[0].text.find(folder / L"gone.txt")) << boxes[0].text;
}

// Ctrl+V wherever the focus is in the running window: keys go to the focused control, never to
// the dialog itself, so they are caught on their way through the dialog's modal loop.
struct PasteRun {
    std::wstring second;
    std::vector<Rows> seen;
    HWND window = nullptr;
};
PasteRun* pasteRun = nullptr;

void PressCtrlV(HWND target) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(target, WM_KEYDOWN, 'V', 0x002F0001);
    PostMessageW(target, WM_KEYUP, 'V', 0xC02F0001);
}

void CALLBACK ReadRowsThenPasteAgain(HWND, UINT, UINT_PTR timer, DWORD) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    pasteRun->seen.push_back(ListRows(GetDlgItem(pasteRun->window, IDC_SHRED_LIST), 2));
    if (pasteRun->seen.size() == 1) {
        PutOnClipboard({pasteRun->second});
        const HWND button = GetDlgItem(pasteRun->window, IDC_ADD_FOLDER);
        SetFocus(button);
        PressCtrlV(button);
        return;
    }
    KillTimer(nullptr, timer);
    EndDialog(pasteRun->window, 0);
}

TEST(MainWindowModal, CtrlVAddsTheCopiedFilesAndFoldersWhereverTheFocusIs) {
    TempFolder folder;
    WriteTestFile(folder / L"copied.txt", "c");
    MakeTestFolder(folder / L"copied folder");
    WriteTestFile(folder / L"later.txt", "l");
    ASSERT_TRUE(PutOnClipboard({folder / L"copied.txt", folder / L"copied folder"}));
    PasteRun run{folder / L"later.txt", {}};
    pasteRun = &run;
    RunMainWindow([](HWND dialog) {
        pasteRun->window = dialog;
        const HWND list = GetDlgItem(dialog, IDC_SHRED_LIST);
        SetFocus(list);
        PressCtrlV(list);
        SetTimer(nullptr, 0, 100, ReadRowsThenPasteAgain);
    });
    pasteRun = nullptr;
    const Rows first = {{L"copied.txt", folder / L"copied.txt"},
                        {L"copied folder", folder / L"copied folder"}};
    Rows second = first;
    second.push_back({L"later.txt", folder / L"later.txt"});
    EXPECT_EQ((std::vector<Rows>{first, second}), run.seen);
}

// The paths of the command line go in as the window opens, with the checks of a drop; another
// case and a short name reach the items as the disk spells them; a drive's root, quoted as Send
// To passes it, lists its free space once the window is up to own its boxes, as do the fill
// folders left.
TEST(MainWindowStartUp, ThePathsItIsStartedWithAreAddedWithTheChecksOfADrop) {
    TempFolder folder;
    WriteTestFile(folder / L"sent.txt", std::string(2048, 's'));
    MakeTestFolder(folder / L"sent folder");
    const StandInDrives drives;
    const std::wstring shortFolder = ShortPath(folder / L"sent folder");
    ASSERT_NE(folder / L"sent folder", shortFolder);
    const std::wstring line = L"Ferrolet.exe \"" + folder / L"SENT.TXT" + L"\" \"C:\\\" " +
                              shortFolder + L" \"" + folder / L"gone.txt" + L"\" c:\\ " +
                              folder / L"sent.txt" + L" relative.txt";
    MainWindowStart start{CommandLinePaths(line.c_str()), {L"D:\\look-alike"}};
    std::vector<SeenMessageBox> boxes;
    DialogWatcher watcher([&](HWND box) {
        // The main window is a dialog too; the box is the one it owns.
        if (GetWindow(box, GW_OWNER)) {
            boxes.push_back(ReadMessageBox(box));
            PostDialogButton(box, IDOK);
        }
    });
    AppInstance = GetModuleHandleW(nullptr);
    const HWND dialog = CreateDialogParamW(AppInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                           MainDialog, reinterpret_cast<LPARAM>(&start));
    ASSERT_NE(nullptr, dialog);
    // The box names the refused items once the window is there to own it, not while it is made.
    EXPECT_TRUE(boxes.empty());
    ShowWindow(dialog, SW_SHOW);
    PumpUntil([&] { return boxes.size() == 2; }, 10000);
    const Rows rows = ListRows(GetDlgItem(dialog, IDC_SHRED_LIST), 3);
    DestroyWindow(dialog);
    EXPECT_EQ((Rows{{L"sent.txt", folder / L"sent.txt", L"2 KB"},
                    {L"sent folder", folder / L"sent folder", L"<DIR>"},
                    kFreeSpaceOfC}),
              rows);
    ASSERT_EQ(2u, boxes.size());
    for (const std::wstring& item : {folder / L"gone.txt" + L" \u2014 cannot be opened",
                                     folder / L"sent.txt" + L" \u2014 already in the list",
                                     std::wstring(L"relative.txt \u2014 a full path is needed")}) {
        EXPECT_NE(std::wstring::npos, boxes[0].text.find(L"\n" + item)) << boxes[0].text;
    }
    EXPECT_EQ(L"Fill folders left alone", boxes[1].caption);
    EXPECT_NE(std::wstring::npos, boxes[1].text.find(L"\nD:\\look-alike\n")) << boxes[1].text;
}

} // namespace
