#include "mainwindow/file_system_probe.h"

#include "engine/long_path.h"
#include "mainwindow/win_handles.h"

#include <windows.h>

PathKind FileSystemProbe::KindOf(const std::wstring& path) const {
    const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return PathKind::Unreadable;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Directory : PathKind::File;
}

std::optional<long long> FileSystemProbe::FileSize(const std::wstring& path) const {
    const KernelFileHandle file(CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) {
        return std::nullopt;
    }
    return size.QuadPart;
}
