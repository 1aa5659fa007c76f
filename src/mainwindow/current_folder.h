// The process's current folder. On Windows a process's current folder can be neither removed nor
// renamed, so the program keeps it where nobody shreds anything: in the system folder.
#pragma once

#include <string>

// The current folder as GetCurrentDirectoryW gives it, however long; empty on failure.
std::wstring CurrentFolder();

// Makes the system folder the current one; true on success.
bool MoveCurrentFolderToSystemFolder();

// Keeps the current folder of its creation and makes it current again when it ends, whatever was
// done meanwhile (the open-file dialog moves it to the chosen file's folder, and OFN_NOCHANGEDIR
// does not stop that).
class CurrentFolderScope {
public:
    CurrentFolderScope();
    ~CurrentFolderScope();
    CurrentFolderScope(CurrentFolderScope&& other) noexcept;
    CurrentFolderScope& operator=(CurrentFolderScope&&) = delete;
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    std::wstring saved_;
};
