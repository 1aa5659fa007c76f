// The companion's own arguments, and the command line it starts Ferrolet with.
#pragma once

#include "handoff/command_line_arguments.h"

#include <cstddef>
#include <string>
#include <vector>

// A path as one argument: quoted where it holds a space or a tab. A quoted path loses its trailing
// backslashes (the same folder), which a parser that reads \" as a quote would otherwise misread.
std::wstring QuoteArgument(const std::wstring& path);

// Ferrolet's arguments: the leading paths whose quoted forms, separated by spaces, fit in limit
// characters, and the rest, in their order, for the window to take once it is up.
struct CommandLineItems {
    std::wstring arguments;
    std::vector<std::wstring> rest;
};
CommandLineItems FitOnCommandLine(const std::vector<std::wstring>& paths, std::size_t limit);
