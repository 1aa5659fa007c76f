#include "dialogs/about_dialog.h"

const wchar_t ProductWebAddress[] = L"https://ferrolet.example/softwares/ferrolet.html";
const wchar_t AuthorName[] = L"Maren Quillfeather";
const wchar_t ContactMailAddress[] = L"maren@ferrolet.example";

namespace {

constexpr wchar_t kNoticeParagraph[] = L"";
constexpr wchar_t kLineBreak[] = L"\r\n";

} // namespace

std::wstring AboutNoticeText() {
    std::wstring notice(kNoticeParagraph);
    notice += kLineBreak;
    notice += kLineBreak;
    notice += L"author: ";
    notice += AuthorName;
    notice += kLineBreak;
    notice += L"mailto: ";
    notice += ContactMailAddress;
    notice += kLineBreak;
    notice += L"www: ";
    notice += ProductWebAddress;
    return notice;
}

POINT CenteredPosition(const RECT& workArea, SIZE window) {
    const LONG areaWidth = workArea.right - workArea.left;
    const LONG areaHeight = workArea.bottom - workArea.top;
    return POINT{workArea.left + (areaWidth - window.cx) / 2,
                 workArea.top + (areaHeight - window.cy) / 2};
}
