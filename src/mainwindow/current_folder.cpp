#include "mainwindow/current_folder.h"

#include <windows.h>

#include <utility>

std::wstring CurrentFolder() {
    // The folder can change between the two calls; ask again until it fits.
    for (DWORD size = GetCurrentDirectoryW(0, nullptr); size != 0;) {
        std::wstring folder(size, L'\0');
        const DWORD length = GetCurrentDirectoryW(size, folder.data());
        if (length < size) {
            folder.resize(length);
            return folder;
        }
        size = length;
    }
    return {};
}

bool MoveCurrentFolderToSystemFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH + 1);
    return length != 0 && length <= MAX_PATH && SetCurrentDirectoryW(folder);
}

CurrentFolderScope::CurrentFolderScope() : saved_(CurrentFolder()) {}

CurrentFolderScope::~CurrentFolderScope() {
    if (!saved_.empty()) {
        SetCurrentDirectoryW(saved_.c_str());
    }
}

CurrentFolderScope::CurrentFolderScope(CurrentFolderScope&& other) noexcept
    : saved_(std::exchange(other.saved_, std::wstring())) {}
