// Making things from the Linux side of Wine that Windows calls cannot make or would make
// differently: symbolic links, and names that Win32 path rules would alter.
#pragma once

#include <string>

// Runs a POSIX shell script as a Linux process and waits for it (at most 20 s); true when it
// exited with 0. Works only under Wine.
bool RunLinuxShell(const std::string& script);

// The script text for a Linux path as one shell word.
std::string ShellQuote(const std::string& text);

// The UTF-8 form of a UTF-16 name, as Wine stores it on the Linux side.
std::string Utf8Of(const std::wstring& text);

// ln -s target link, both given as Windows paths of existing folders' items (the link's own name
// is taken literally). True on success.
bool MakeLinuxSymlink(const std::wstring& target, const std::wstring& linkFolder,
                      const std::wstring& linkName);

// Removes the symbolic link at folder\name itself from the Linux side (never what it points to),
// so that a test's temporary folders can be removed without walking through it.
bool RemoveLinuxSymlink(const std::wstring& folder, const std::wstring& name);

// Makes a folder named name (taken literally, as UTF-8) in folder from the Linux side.
bool MakeLinuxFolder(const std::wstring& folder, const std::wstring& name);

// Writes a file named name (taken literally, as UTF-8) in folder from the Linux side.
bool MakeLinuxFile(const std::wstring& folder, const std::wstring& name,
                   const std::string& contents);
