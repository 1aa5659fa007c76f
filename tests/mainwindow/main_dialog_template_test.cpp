#include "main_window_fixture.h"
#include "mainwindow/app_globals.h"
#include "mainwindow/main_dialog.h"
#include "resource.h"
#include "support/dialog_template.h"
#include "support/ui_test.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD PushButton = 0x50010000;
constexpr DWORD FirstRadio = 0x50020009;
constexpr DWORD Radio = 0x50000009;

const std::vector<TemplateControl> ExpectedControls = {
    {2, L"button", L"&Exit", 278, 199, 110, 16, PushButton},
    {1004, L"button", L"Add &File", 278, 9, 110, 16, PushButton},
    {1003, L"button", L"Add F&older", 278, 32, 110, 16, PushButton},
    {1007, L"button", L"&Shred Now!", 158, 200, 110, 16, PushButton},
    {1011, L"button", L"&Remove Item", 278, 56, 110, 16, PushButton},
    {1013, L"syslistview32", L"", 8, 9, 261, 181, 0x50810801},
    {1016, L"button", L"All 0's (fast)", 286, 117, 51, 8, FirstRadio},
    {1001, L"button", L"&Clear List", 278, 80, 110, 16, PushButton},
    {-1, L"button", L"Overwrite Method", 279, 105, 110, 84, 0x50000007},
    {1017, L"button", L"Random data", 286, 131, 59, 8, Radio},
    {1018, L"button", L"DOD 3 pass (strong)", 286, 145, 80, 8, Radio},
    {1019, L"button", L"DOD 7 pass (very strong)", 286, 159, 95, 8, Radio},
    {1020, L"button", L"Gutmann 35 pass (overkill)", 286, 173, 99, 8, Radio},
    {1000, L"button", L"&About ...", 9, 201, 110, 16, PushButton},
};

TEST(MainWindowTemplate, HeaderAndControlsAreExactAndInTabOrder) {
    const DialogTemplate dialog = ReadDialogTemplate(IDD_MAIN);
    EXPECT_TRUE(dialog.extended);
    EXPECT_EQ(0x90CA08C4u, dialog.style);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_ACCEPTFILES), dialog.exStyle);
    EXPECT_EQ((std::vector<short>{0, 0, 397, 239}),
              (std::vector<short>{dialog.x, dialog.y, dialog.cx, dialog.cy}));
    EXPECT_EQ(L"", dialog.menu);
    EXPECT_EQ(L"", dialog.windowClass);
    EXPECT_EQ(L"Ferrolet Free v1.0", dialog.title);
    EXPECT_EQ(8, dialog.pointSize);
    EXPECT_EQ(0, dialog.weight);
    EXPECT_EQ(0, dialog.italic);
    EXPECT_EQ(1, dialog.charset);
    EXPECT_EQ(L"MS Shell Dlg", dialog.typeface);
    EXPECT_EQ(ExpectedControls, dialog.controls);
}

// The main window as the other window tests create it; the suite name groups the read-backs.
class CreatedMainWindow : public MainWindowTest {};

// The template's style word as the created control reflects it. Two changes are the controls'
// own: a list view trades WS_BORDER for WS_EX_CLIENTEDGE, and a radio button carries WS_TABSTOP
// exactly while it is checked.
DWORD CreatedStyle(HWND control) {
    auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_EXSTYLE));
    if (ClassNameOf(control) == WC_LISTVIEWW && (exStyle & WS_EX_CLIENTEDGE)) {
        style |= WS_BORDER;
    }
    if ((style & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
        const bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        EXPECT_EQ(checked, (style & WS_TABSTOP) != 0);
        style &= ~static_cast<DWORD>(WS_TABSTOP);
    }
    return style;
}

TEST_F(CreatedMainWindow, ChildrenReadBackAsTheTemplateMadeThem) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) != IDC_STATUS_BAR) {
            children.push_back(child);
        }
    }
    ASSERT_EQ(ExpectedControls.size(), children.size());
    for (size_t i = 0; i < children.size(); ++i) {
        const TemplateControl& want = ExpectedControls[i];
        const HWND child = children[i];
        SCOPED_TRACE(testing::Message() << "control " << i + 1 << " (id " << want.id << ")");
        EXPECT_EQ(want.id, static_cast<short>(GetWindowLongPtrW(child, GWLP_ID)));
        EXPECT_EQ(0, _wcsicmp(want.className.c_str(), ClassNameOf(child).c_str()))
            << "class " << testing::PrintToString(ClassNameOf(child));
        EXPECT_EQ(want.text, WindowText(child));
        EXPECT_EQ(want.style, CreatedStyle(child)) << std::hex << CreatedStyle(child);
    }
}

TEST_F(CreatedMainWindow, WindowHasAFixedFrameAcceptsFilesAndCanBeMinimised) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    EXPECT_EQ(L"Ferrolet Free v1.0", WindowText(dialog));
    EXPECT_TRUE(exStyle & WS_EX_ACCEPTFILES);
    EXPECT_EQ(static_cast<DWORD>(WS_CAPTION), style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(nullptr, GetMenu(dialog));
    EXPECT_EQ(L"#32770", ClassNameOf(dialog));
}

TEST(MainWindowResources, IconGroupHoldsOne64By64ImageOf32Bits) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(IDI_FERROLET), RT_GROUP_ICON);
    ASSERT_NE(nullptr, group);
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    WORD reserved, type, count;
    std::memcpy(&reserved, directory, 2);
    std::memcpy(&type, directory + 2, 2);
    std::memcpy(&count, directory + 4, 2);
    EXPECT_EQ(1, type);
    ASSERT_EQ(1, count);
    const BYTE* entry = directory + 6;
    EXPECT_EQ(64, entry[0]);
    EXPECT_EQ(64, entry[1]);
    WORD bitCount, iconId;
    std::memcpy(&bitCount, entry + 6, 2);
    std::memcpy(&iconId, entry + 12, 2);
    EXPECT_EQ(32, bitCount);

    const HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(iconId), RT_ICON);
    ASSERT_NE(nullptr, image);
    BITMAPINFOHEADER header;
    std::memcpy(&header, LockResource(LoadResource(module, image)), sizeof header);
    EXPECT_EQ(64, header.biWidth);
    EXPECT_EQ(128, header.biHeight) << "colour rows and mask rows";
    EXPECT_EQ(32, header.biBitCount);

    const HICON icon = static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(IDI_FERROLET), IMAGE_ICON, 64, 64, 0));
    EXPECT_NE(nullptr, icon);
    DestroyIcon(icon);
}

TEST(MainWindowResources, ManifestAsksForAdministratorAndNothingElse) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(nullptr, manifest);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                           SizeofResource(module, manifest));
    EXPECT_NE(std::string::npos, text.find("level=\"requireAdministrator\""));
    EXPECT_EQ(std::string::npos, text.find("dependency"));
    EXPECT_EQ(std::string::npos, text.find("compatibility"));
    EXPECT_EQ(std::string::npos, text.find("dpiAware"));
}

std::wstring VersionString(const std::vector<BYTE>& block, const std::wstring& key) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = L"\\StringFileInfo\\040904b0\\" + key;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || !value) {
        return L"<missing>";
    }
    return std::wstring(static_cast<const wchar_t*>(value)).substr(0, length);
}

TEST(MainWindowResources, VersionInformationIsExact) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwProductVersionLS);

    EXPECT_EQ(L"Ferrolet Free v0.1 for x64", VersionString(block, L"FileDescription"));
    EXPECT_EQ(L"Ferrolet x64", VersionString(block, L"InternalName"));
    EXPECT_EQ(L"Ferrolet x64", VersionString(block, L"ProductName"));
    EXPECT_EQ(L"Ferrolet.exe", VersionString(block, L"OriginalFilename"));
    EXPECT_EQ(L"1, 0, 0, 0", VersionString(block, L"FileVersion"));
    EXPECT_EQ(L"1, 0, 0, 0", VersionString(block, L"ProductVersion"));
    EXPECT_EQ(L"", VersionString(block, L"Comments"));
    EXPECT_NE(L"<missing>", VersionString(block, L"CompanyName"));
    EXPECT_NE(L"<missing>", VersionString(block, L"LegalCopyright"));

    DWORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x04B00409u, *translation) << "US English, Unicode";
}

} // namespace
