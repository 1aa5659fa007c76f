#include "companion/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::wstring>;

// The command lines Explorer makes of the entry's command and of the Send To shortcut.
TEST(CompanionArguments, EachPathArrivesWhole) {
    const struct {
        const wchar_t* commandLine;
        Arguments expected;
    } cases[] = {
        {L"\"C:\\Program Files\\F\\FerroletMenu.exe\" --add \"C:\\a b\\c.txt\"",
         {L"--add", L"C:\\a b\\c.txt"}},
        {L"menu.exe --add \"C:\\\"", {L"--add", L"C:\\"}},
        {L"menu.exe --add \"C:\\dir\\\\\" D:\\x", {L"--add", L"C:\\dir\\\\", L"D:\\x"}},
        {L"menu.exe  --add\tC:\\one  \"\"  C:\\t\"w o\"", {L"--add", L"C:\\one", L"", L"C:\\tw o"}},
        {L"menu.exe", {}},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(row.expected, CommandLineArguments(row.commandLine)) << row.commandLine;
    }
}

// Ferrolet's command line reads the same with a parser that takes \" as a quote and with one that
// takes every backslash as itself.
TEST(FerroletCommandLine, PathsAreQuotedOnlyWhereTheyHoldBlanks) {
    EXPECT_EQ(L"C:\\plain.txt", QuoteArgument(L"C:\\plain.txt"));
    EXPECT_EQ(L"C:\\", QuoteArgument(L"C:\\"));
    EXPECT_EQ(L"\"C:\\a b\\c\"", QuoteArgument(L"C:\\a b\\c"));
    EXPECT_EQ(L"\"C:\\tab\there\"", QuoteArgument(L"C:\\tab\there\\\\"));
}

// The paths that fit go on the command line in their order; the first that does not, and every
// one after it, are left for the window.
TEST(FerroletCommandLine, WhatDoesNotFitIsLeftInOrder) {
    const Arguments paths = {L"C:\\a", L"C:\\b c", L"C:\\d", L"C:\\e"};
    const struct {
        std::size_t limit;
        std::wstring arguments;
        Arguments rest;
    } cases[] = {
        {100, L"C:\\a \"C:\\b c\" C:\\d C:\\e", {}},
        {23, L"C:\\a \"C:\\b c\" C:\\d C:\\e", {}},
        {22, L"C:\\a \"C:\\b c\" C:\\d", {L"C:\\e"}},
        {4, L"C:\\a", {L"C:\\b c", L"C:\\d", L"C:\\e"}},
        {3, L"", paths},
    };
    for (const auto& row : cases) {
        const CommandLineItems items = FitOnCommandLine(paths, row.limit);
        EXPECT_EQ(row.arguments, items.arguments) << row.limit;
        EXPECT_EQ(row.rest, items.rest) << row.limit;
        EXPECT_LE(items.arguments.size(), row.limit);
    }
}

} // namespace
