#include "dialogs/about_text.h"

namespace {

constexpr wchar_t kLineBreak[] = L"\r\n";

} // namespace

std::wstring AboutNoticeText() {
    std::wstring notice(NoticeParagraph);
    notice += kLineBreak;
    notice += kLineBreak;
    notice += NoticeAuthorLabel;
    notice += AuthorName;
    notice += kLineBreak;
    notice += NoticeMailLabel;
    notice += ContactMailAddress;
    notice += kLineBreak;
    notice += NoticeWebLabel;
    notice += ProductWebAddress;
    return notice;
}
