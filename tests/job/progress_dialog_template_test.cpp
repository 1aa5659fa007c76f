// Template 106 as it is linked into the program, read back from the resource itself.
#include "resource.h"
#include "support/dialog_template.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ProgressDialogTemplate, MatchesItsTable) {
    const DialogTemplate dialog = ReadDialogTemplate(IDD_PROGRESS);
    EXPECT_FALSE(dialog.extended);
    EXPECT_EQ(0x90C008C4u, dialog.style);
    EXPECT_EQ(0u, dialog.exStyle);
    EXPECT_EQ((std::vector<short>{0, 0, 207, 55}),
              (std::vector<short>{dialog.x, dialog.y, dialog.cx, dialog.cy}));
    EXPECT_EQ(L"", dialog.menu);
    EXPECT_EQ(L"", dialog.windowClass);
    EXPECT_EQ(L"Shredding Files...", dialog.title);
    EXPECT_EQ(8, dialog.pointSize);
    EXPECT_EQ(L"MS Shell Dlg", dialog.typeface);
    const std::vector<TemplateControl> expected = {
        {IDC_PROGRESS_BAR, L"msctls_progress32", L"", 35, 33, 144, 13, 0x50000000},
        {IDC_PROGRESS_NAME, L"static", L"C:\\Program Files\\Windows", 0, 9, 207, 17, 0x5002C201},
    };
    EXPECT_EQ(expected, dialog.controls);
}

} // namespace
