// The About dialog's own texts (its caption and title come with its template).
#pragma once

#include <string>

// The product's web page: the link's text and the address it opens.
inline constexpr wchar_t ProductWebAddress[] = L"https://ferrolet.example/softwares/ferrolet.html";
inline constexpr wchar_t AuthorName[] = L"Maren Quillfeather";
inline constexpr wchar_t ContactMailAddress[] = L"maren@ferrolet.example";

// When the desktop's shell cannot open the page: the address goes to the user instead.
inline constexpr wchar_t WebPageNotOpenedCaption[] = L"Web page";
inline constexpr wchar_t WebPageNotOpenedText[] =
    L"The web page could not be opened from here. Open this address in your browser:";

inline constexpr wchar_t NoticeParagraph[] = L"";
inline constexpr wchar_t NoticeAuthorLabel[] = L"author: ";
inline constexpr wchar_t NoticeMailLabel[] = L"mailto: ";
inline constexpr wchar_t NoticeWebLabel[] = L"www: ";

// The notice shown in the edit box: CR LF line breaks, no final line break.
std::wstring AboutNoticeText();
