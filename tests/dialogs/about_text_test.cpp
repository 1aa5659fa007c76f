// The texts the About dialog's code puts in it, as the user reads them from the real dialog (its
// caption and title come with its template).
#include "dialogs/about_dialog.h"
#include "resource.h"
#include "support/ui_test.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(AboutTexts, TheAddressAndTheNotice) {
    const std::vector<std::pair<int, std::wstring>> texts = {
        {IDC_ABOUT_LINK, L"https://ferrolet.example/softwares/ferrolet.html"},
        {IDC_ABOUT_NOTICE, L"\r\n\r\nauthor: Maren Quillfeather\r\nmailto: "
                           L"maren@ferrolet.example\r\nwww: "
                           L"https://ferrolet.example/softwares/ferrolet.html"},
    };
    RunModalDialog(IDD_ABOUT, AboutDialog, [&texts](HWND dialog) {
        for (const auto& [id, text] : texts) {
            EXPECT_EQ(text, WindowText(GetDlgItem(dialog, id))) << "control " << id;
        }
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
}

} // namespace
