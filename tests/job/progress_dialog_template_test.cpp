// Template 106 as it is linked into the program, read back from the resource itself.
#include "resource.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

namespace {

// Reads a DLGTEMPLATE (not the extended form) word by word.
class TemplateReader {
public:
    explicit TemplateReader(const std::uint8_t* bytes) : at_(bytes), start_(bytes) {}

    std::uint16_t Word() {
        std::uint16_t value;
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    std::uint32_t Dword() {
        const std::uint32_t low = Word();
        return low | (static_cast<std::uint32_t>(Word()) << 16);
    }
    std::int16_t Short() { return static_cast<std::int16_t>(Word()); }
    // A string, or an ordinal written as "#n".
    std::wstring StringOrOrdinal() {
        const std::uint16_t first = Word();
        if (first == 0xFFFF) {
            return L"#" + std::to_wstring(Word());
        }
        std::wstring text;
        for (std::uint16_t c = first; c != 0; c = Word()) {
            text.push_back(static_cast<wchar_t>(c));
        }
        return text;
    }
    void AlignDword() {
        while ((at_ - start_) % 4 != 0) {
            ++at_;
        }
    }

private:
    const std::uint8_t* at_;
    const std::uint8_t* start_;
};

struct TemplateItem {
    std::uint32_t style;
    std::uint32_t exStyle;
    short x, y, cx, cy;
    std::uint16_t id;
    std::wstring className;
    std::wstring text;
};

std::wstring Lowercase(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

const std::uint8_t* ProgressTemplate() {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_PROGRESS), RT_DIALOG);
    EXPECT_NE(nullptr, found);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    return loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
}

TEST(ProgressDialogTemplate, MatchesItsTable) {
    const std::uint8_t* bytes = ProgressTemplate();
    ASSERT_NE(nullptr, bytes);
    TemplateReader dialog(bytes);
    EXPECT_EQ(0x90C008C4u, dialog.Dword()) << "style; also not the extended template form";
    EXPECT_EQ(0u, dialog.Dword()) << "extended style";
    const std::uint16_t items = dialog.Word();
    EXPECT_EQ(0, dialog.Short());
    EXPECT_EQ(0, dialog.Short());
    EXPECT_EQ(207, dialog.Short());
    EXPECT_EQ(55, dialog.Short());
    EXPECT_EQ(L"", dialog.StringOrOrdinal()) << "menu";
    EXPECT_EQ(L"", dialog.StringOrOrdinal()) << "class";
    EXPECT_EQ(L"Shredding Files...", dialog.StringOrOrdinal());
    EXPECT_EQ(8, dialog.Word()) << "point size";
    EXPECT_EQ(L"MS Shell Dlg", dialog.StringOrOrdinal());
    ASSERT_EQ(2, items);

    std::vector<TemplateItem> controls;
    for (int i = 0; i < items; ++i) {
        dialog.AlignDword();
        TemplateItem item;
        item.style = dialog.Dword();
        item.exStyle = dialog.Dword();
        item.x = dialog.Short();
        item.y = dialog.Short();
        item.cx = dialog.Short();
        item.cy = dialog.Short();
        item.id = dialog.Word();
        item.className = dialog.StringOrOrdinal();
        item.text = dialog.StringOrOrdinal();
        const std::uint16_t extra = dialog.Word();
        EXPECT_EQ(0, extra);
        controls.push_back(item);
    }

    const TemplateItem& bar = controls[0];
    EXPECT_EQ(IDC_PROGRESS_BAR, bar.id);
    EXPECT_EQ(L"msctls_progress32", Lowercase(bar.className)) << "class names ignore case";
    EXPECT_EQ(0x50000000u, bar.style);
    EXPECT_EQ(0u, bar.exStyle);
    EXPECT_EQ((std::vector<short>{35, 33, 144, 13}),
              (std::vector<short>{bar.x, bar.y, bar.cx, bar.cy}));
    EXPECT_EQ(L"", bar.text);

    const TemplateItem& name = controls[1];
    EXPECT_EQ(IDC_PROGRESS_NAME, name.id);
    EXPECT_TRUE(name.className == L"#130" || Lowercase(name.className) == L"static")
        << "static class, found " << std::string(name.className.begin(), name.className.end());
    EXPECT_EQ(0x5002C201u, name.style);
    EXPECT_EQ(0u, name.exStyle);
    EXPECT_EQ((std::vector<short>{0, 9, 207, 17}),
              (std::vector<short>{name.x, name.y, name.cx, name.cy}));
    EXPECT_EQ(L"C:\\Program Files\\Windows", name.text);
}

} // namespace
