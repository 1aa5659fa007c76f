// The shred list as the job sees it, on a real main window: rows, identities and the method,
// read from the main thread and from another thread; and the one list-view text reader that the
// job and the list share.
#include "main_window_fixture.h"
#include "engine/overwrite_methods.h"
#include "mainwindow/list_view_text.h"
#include "mainwindow/shred_list_view.h"
#include "support/file_system_override.h"
#include "support/temp_folder.h"
#include "support/ui_test.h"

#include <commctrl.h>

#include <cstring>
#include <thread>

namespace {

std::wstring PathOfLength(std::size_t length) {
    std::wstring path = L"C:\\";
    for (wchar_t c = L'a'; path.size() < length; c = c == L'z' ? L'a' : c + 1) {
        path.push_back(path.size() % 20 == 0 ? L'\\' : c);
    }
    return path;
}

ItemId IdentityAt(const std::wstring& path) {
    ItemId id;
    EXPECT_TRUE(ReadItemIdAtPath(path, id)) << "no identity at " << testing::PrintToString(path);
    return id;
}

TEST_F(MainWindowTest, ListViewTextsOfEveryLengthAreReadWhole) {
    // 32,767 is the longest path; 40,000 is beyond any buffer the control might assume.
    const std::vector<std::size_t> lengths = {3,   258, 259,  260,   261,   519,
                                              520, 521, 5000, 32767, 40000, 65536};
    for (std::size_t length : lengths) {
        AddRawListRow(list, L"name", PathOfLength(length));
    }
    const ShredListView rows(dialog);
    ASSERT_EQ(static_cast<int>(lengths.size()), rows.RowCount());
    for (std::size_t row = 0; row < lengths.size(); ++row) {
        const int index = static_cast<int>(row);
        EXPECT_EQ(PathOfLength(lengths[row]), ListViewItemText(list, index, 1))
            << "length " << lengths[row];
        EXPECT_EQ(PathOfLength(lengths[row]), rows.RowPath(index)) << "length " << lengths[row];
    }
    EXPECT_EQ(L"name", ListViewItemText(list, 0, 0));
}

TEST_F(MainWindowTest, RowsIdentitiesAndMethodAreReachedFromAnotherThread) {
    TempFolder folder;
    for (const wchar_t* name : {L"old.txt", L"gone.txt", L"last.txt"}) {
        WriteTestFile(folder / name, "x");
        ASSERT_EQ(AddOutcome::Added, Add(folder / name));
    }
    Click(IDC_METHOD_DOD7);
    ShredListView rows(dialog);
    const std::wstring renamed = folder / L"qrjatydimo.ug";
    std::wstring first;
    std::wstring second;
    ItemId renamedId;
    ItemId lastId;
    bool lastHasId = false;
    ShredMethod method = nullptr;
    bool done = false;
    std::thread worker([&] {
        method = rows.CheckedMethod();
        first = rows.RowPath(0);
        second = rows.RowPath(1);
        rows.SetRowItem(0, renamed, ItemId{42});
        rows.RowIdentity(0, renamedId);
        rows.DeleteRow(1);
        lastHasId = rows.RowIdentity(1, lastId);
        done = true;
    });
    // The worker's messages are carried out here, as in the progress dialog's modal loop.
    EXPECT_TRUE(PumpUntil([&] { return done; }));
    worker.join();

    EXPECT_EQ(dialog, rows.Owner());
    EXPECT_EQ(OverwriteDod7, method);
    EXPECT_EQ(folder / L"old.txt", first);
    EXPECT_EQ(folder / L"gone.txt", second);
    EXPECT_EQ((std::vector<std::vector<std::wstring>>{{L"qrjatydimo.ug", renamed},
                                                      {L"last.txt", folder / L"last.txt"}}),
              ListRows(list, 2));
    ASSERT_TRUE(lastHasId);
    EXPECT_EQ(IdentityAt(folder / L"last.txt"), lastId) << "the identity follows its row";
    EXPECT_EQ(42u, renamedId.volumeSerial) << "a renamed row's item is known by its id now";
}

// Each method button stands for its method; with none checked, the window's own default.
TEST_F(MainWindowTest, EachMethodButtonGivesItsMethod) {
    const std::pair<int, ShredMethod> methods[] = {{IDC_METHOD_ZEROS, OverwriteZeros},
                                                   {IDC_METHOD_RANDOM, OverwriteRandom},
                                                   {IDC_METHOD_DOD3, OverwriteDod3},
                                                   {IDC_METHOD_DOD7, OverwriteDod7},
                                                   {IDC_METHOD_GUTMANN, OverwriteGutmann}};
    const ShredListView rows(dialog);
    for (const auto& [id, method] : methods) {
        Click(id);
        EXPECT_EQ(method, rows.CheckedMethod()) << "button " << id;
    }
    CheckRadioButton(dialog, IDC_METHOD_FIRST, IDC_METHOD_LAST, 0);
    EXPECT_EQ(OverwriteRandom, rows.CheckedMethod()) << "none checked";
}

// Each row keeps the identity of the item it was added for, whatever rows go before it, and
// whatever becomes of the path afterwards.
TEST_F(MainWindowTest, EachRowKeepsTheIdentityItWasAddedWith) {
    TempFolder folder;
    std::vector<ItemId> ids;
    for (const wchar_t* name : {L"0", L"1", L"2", L"3", L"4"}) {
        WriteTestFile(folder / name, "x");
        ids.push_back(IdentityAt(folder / name));
        ASSERT_EQ(AddOutcome::Added, Add(folder / name));
    }
    AddRawListRow(list, L"raw", folder / L"raw");
    ASSERT_TRUE(MoveFileW((folder / L"2").c_str(), (folder / L"2 moved away").c_str()));
    WriteTestFile(folder / L"2", "another file by the same name");
    ASSERT_NE(ids[2], IdentityAt(folder / L"2"));
    EXPECT_EQ(AddOutcome::AlreadyListed, Add(folder / L"2"))
        << "a listed path, whatever item it names now";

    SelectListItem(list, 0, true);
    SelectListItem(list, 3, true);
    Click(IDC_REMOVE_ITEM);

    const ShredListView rows(dialog);
    ASSERT_EQ(4, rows.RowCount());
    const std::vector<ItemId> expected = {ids[1], ids[2], ids[4]};
    for (int row = 0; row < 3; ++row) {
        ItemId id;
        ASSERT_TRUE(rows.RowIdentity(row, id)) << "row " << row;
        EXPECT_EQ(expected[static_cast<std::size_t>(row)], id) << "row " << row;
    }
    ItemId none;
    EXPECT_FALSE(rows.RowIdentity(3, none)) << "a row the list did not add has no identity";
    EXPECT_FALSE(rows.RowIdentity(4, none)) << "past the last row";
}

// An id of 0 or of all ones is none, the 64-bit index stands in where the 128-bit id is none, and
// an item whose final path cannot be read is not added.
struct VolumeAnswer {
    BYTE idByte;    // every byte of the 128-bit id
    DWORD indexLow; // the 64-bit index's low half; its high half is 0 unless this is all ones
    bool hasFinalPath;
    AddOutcome outcome;
};
const VolumeAnswer* answer = nullptr;
// FILE_ID_INFO's class; the 128-bit id follows the volume's serial number.
constexpr auto FileIdInfoClass = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);

BOOL WINAPI AnswerId(HANDLE item, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
    if (kind != FileIdInfoClass) {
        return RealFileSystem.GetFileInformationByHandleEx(item, kind, info, size);
    }
    std::memset(static_cast<BYTE*>(info) + sizeof(ULONGLONG), answer->idByte, 16);
    return TRUE;
}

BOOL WINAPI AnswerIndex(HANDLE item, LPBY_HANDLE_FILE_INFORMATION info) {
    const BOOL read = RealFileSystem.GetFileInformationByHandle(item, info);
    info->nFileIndexHigh = answer->indexLow == MAXDWORD ? MAXDWORD : 0;
    info->nFileIndexLow = answer->indexLow;
    return read;
}

TEST_F(MainWindowTest, AnItemIsAddedOnlyWithAnIdAndAFinalPath) {
    const VolumeAnswer answers[] = {
        {0x00, 0, true, AddOutcome::NoFileId},     {0xFF, MAXDWORD, true, AddOutcome::NoFileId},
        {0x00, 7, true, AddOutcome::Added},        {0x5A, 0, true, AddOutcome::Added},
        {0x5A, 7, false, AddOutcome::NoFinalPath},
    };
    TempFolder folder;
    const FileSystemOverride restore;
    FileSystem.GetFileInformationByHandleEx = AnswerId;
    FileSystem.GetFileInformationByHandle = AnswerIndex;
    FileSystem.GetItemName = [](HANDLE, std::wstring&) -> BOOL { return FALSE; };
    for (const VolumeAnswer& row : answers) {
        answer = &row;
        FileSystem.GetFinalPathNameByHandleW =
            row.hasFinalPath ? RealFileSystem.GetFinalPathNameByHandleW
                             : [](HANDLE, LPWSTR, DWORD, DWORD) -> DWORD { return 0; };
        const std::wstring path = folder / std::to_wstring(&row - answers);
        WriteTestFile(path, "x");
        EXPECT_EQ(row.outcome, Add(path)) << "row " << (&row - answers);
    }
    EXPECT_EQ(2, ShredListView(dialog).RowCount());
}

} // namespace
