// The shred list's two questions to the file system, answered by kernel32.
#pragma once

#include "mainwindow/shred_list.h"

#include <string>

// Every path is asked in its extended-length form, as the engine acts on it: no length limit, and
// a name ending in a dot or a space is not taken for the item without them.
class FileSystemProbe final : public PathProbe {
public:
    // Attributes unreadable: Unreadable; the directory attribute: Directory; otherwise File.
    PathKind KindOf(const std::wstring& path) const override;
    // Opens the file for reading with no sharing, only for the moment of GetFileSizeEx.
    std::optional<long long> FileSize(const std::wstring& path) const override;
};
