#include "dialogs/about_text.h"

#include <gtest/gtest.h>

namespace {

TEST(AboutNoticeText, IsTheParagraphAnEmptyLineAndTheThreeContactLines) {
    EXPECT_EQ(L"\r\n\r\nauthor: Maren Quillfeather\r\nmailto: maren@ferrolet.example\r\nwww: "
              L"https://ferrolet.example/softwares/ferrolet.html",
              AboutNoticeText());
}

TEST(ProductWebAddress, IsTheProductPageOnAReservedHost) {
    EXPECT_STREQ(L"https://ferrolet.example/softwares/ferrolet.html", ProductWebAddress);
}

} // namespace
