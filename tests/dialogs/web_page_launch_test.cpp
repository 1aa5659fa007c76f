#include <windows.h>
#include <shellapi.h>

#include "dialogs/web_page_launch.h"
#include "support/temp_folder.h"
#include "support/ui_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ShownAddress {
    HWND owner;
    std::wstring address;
};

std::vector<std::wstring> desktopCalls;
std::vector<ShownAddress> shownAddresses;
bool desktopAnswers = false;

bool FakeDesktopShell(const wchar_t* address) {
    desktopCalls.emplace_back(address);
    return desktopAnswers;
}

void RecordShownAddress(HWND owner, const wchar_t* address) {
    shownAddresses.push_back(ShownAddress{owner, address});
}

class WebPageLaunchTest : public testing::Test {
protected:
    void SetUp() override {
        desktopCalls.clear();
        shownAddresses.clear();
    }
    WebPageLaunch Open() { return OpenWebPageWith(owner_, L"https://page.example/", launchers_); }
    const HWND owner_ = reinterpret_cast<HWND>(0x1234);
    const WebPageLaunchers launchers_{FakeDesktopShell, RecordShownAddress};
};

TEST_F(WebPageLaunchTest, TheDesktopShellOpensThePageWhereThereIsOne) {
    desktopAnswers = true;
    EXPECT_EQ(WebPageLaunch::ThroughDesktopShell, Open());
    EXPECT_EQ(std::vector<std::wstring>{L"https://page.example/"}, desktopCalls);
    EXPECT_TRUE(shownAddresses.empty());
}

// A browser started from the elevated process would run elevated: without the desktop's shell,
// the user is given the address instead.
TEST_F(WebPageLaunchTest, WithoutADesktopShellTheAddressIsShownOnce) {
    desktopAnswers = false;
    EXPECT_EQ(WebPageLaunch::AddressShown, Open());
    EXPECT_EQ(1u, desktopCalls.size());
    ASSERT_EQ(1u, shownAddresses.size());
    EXPECT_EQ(owner_, shownAddresses[0].owner);
    EXPECT_EQ(L"https://page.example/", shownAddresses[0].address);
}

TEST(ShowWebAddress, OneBoxOwnedByTheDialogGivesTheAddress) {
    const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, owner);
    std::vector<SeenMessageBox> boxes;
    HWND boxOwner = nullptr;
    {
        DialogWatcher watcher([&](HWND box) {
            boxes.push_back(ReadMessageBox(box));
            boxOwner = GetWindow(box, GW_OWNER);
            PostDialogButton(box, IDOK);
        });
        ShowWebAddress(owner, L"https://page.example/softwares/x.html");
    }
    DestroyWindow(owner);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(owner, boxOwner);
    EXPECT_EQ(std::vector<int>{IDOK}, boxes[0].buttons);
    EXPECT_EQ(L"Web page", boxes[0].caption);
    EXPECT_EQ(L"The web page could not be opened from here. Open this address in your browser:"
              L"\n\nhttps://page.example/softwares/x.html",
              boxes[0].text);
}

// The desktop's shell is another process (explorer.exe, under Wine too): what it starts shows that
// the request went the whole documented way through it.
TEST(OpenThroughDesktopShell, TheDesktopShellStartsWhatItIsGiven) {
    TempFolder folder;
    const std::wstring script = folder / L"start.bat";
    const std::wstring marker = folder / L"started.txt";
    const std::string markerText(marker.begin(), marker.end());
    WriteTestFile(script, "@echo started>\"" + markerText + "\"\r\n");
    ASSERT_TRUE(OpenThroughDesktopShell(script.c_str())) << "no desktop shell took the request";
    EXPECT_TRUE(PumpUntil([&] { return PathExists(marker); }, 20000));
    // The script's console may still hold it for a moment.
    PumpUntil([&] { return DeleteFileW(script.c_str()) != FALSE; }, 10000);
}

} // namespace
