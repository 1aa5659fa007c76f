// How Ferrolet and its Explorer companion read a command line; the companion quotes the paths it
// starts Ferrolet with for exactly this reading.
#pragma once

#include <string>
#include <utility>
#include <vector>

// Every argument after the program's own name. A quote opens or closes a quoted stretch and a
// backslash is itself: a path never holds a quote, and "C:\" must stay C:\ (the usual Windows
// rule would read \" as a quote and join it with the next argument).
inline std::vector<std::wstring> CommandLineArguments(const wchar_t* commandLine) {
    std::vector<std::wstring> arguments;
    std::wstring argument;
    bool inArgument = false;
    bool quoted = false;
    for (const wchar_t* at = commandLine ? commandLine : L""; *at != L'\0'; ++at) {
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
