#include "companion/command_line.h"

#include <utility>

std::vector<std::wstring> SplitArguments(const wchar_t* commandLine) {
    std::vector<std::wstring> arguments;
    std::wstring argument;
    bool inArgument = false;
    bool quoted = false;
    for (const wchar_t* at = commandLine ? commandLine : L""; *at; ++at) {
        if (*at == L'"') {
            quoted = !quoted;
            inArgument = true;
        } else if (!quoted && (*at == L' ' || *at == L'\t')) {
            if (inArgument) {
                arguments.push_back(std::move(argument));
                argument.clear();
                inArgument = false;
            }
        } else {
            argument += *at;
            inArgument = true;
        }
    }
    if (inArgument) {
        arguments.push_back(std::move(argument));
    }
    if (!arguments.empty()) {
        arguments.erase(arguments.begin());
    }
    return arguments;
}

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
