#include "companion/command_line.h"

#include <utility>

std::wstring QuoteArgument(const std::wstring& path) {
    if (path.find_first_of(L" \t") == std::wstring::npos) {
        return path;
    }
    std::wstring trimmed = path;
    while (!trimmed.empty() && trimmed.back() == L'\\') {
        trimmed.pop_back();
    }
    return L'"' + trimmed + L'"';
}

CommandLineItems FitOnCommandLine(const std::vector<std::wstring>& paths, std::size_t limit) {
    CommandLineItems items;
    std::size_t index = 0;
    for (; index < paths.size(); ++index) {
        const std::wstring argument = QuoteArgument(paths[index]);
        const std::size_t separator = items.arguments.empty() ? 0 : 1;
        if (items.arguments.size() + separator + argument.size() > limit) {
            break;
        }
        items.arguments += (separator ? L" " : L"") + argument;
    }
    items.rest.assign(paths.begin() + static_cast<std::ptrdiff_t>(index), paths.end());
    return items;
}
