#include "job/job_text.h"

#include <cwchar>

std::wstring NotShreddedMessage(int count) {
    if (count == 1) {
        return OneNotShreddedText;
    }
    wchar_t text[96] = {};
    std::swprintf(text, std::size(text), ManyNotShreddedFormat, count);
    return text;
}
