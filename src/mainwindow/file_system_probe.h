// The shred list's two questions to the file system, answered by kernel32.
#pragma once

#include "mainwindow/shred_list.h"

#include <string>

class FileSystemProbe final : public PathProbe {
public:
    // Attributes unreadable: Unreadable; the directory attribute: Directory; otherwise File.
    PathKind KindOf(const std::wstring& path) const override;
    // Opens the file for reading with no sharing, only for the moment of GetFileSizeEx.
    std::optional<long long> FileSize(const std::wstring& path) const override;
};

// The path as kernel32 must be given it: full paths of MAX_PATH characters or more get the
// extended-length prefix ("\\?\C:\..." or "\\?\UNC\server\..."), shorter ones stay as they are.
std::wstring ExtendedLengthPath(const std::wstring& path);
