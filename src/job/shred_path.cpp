#include "job/shred_path.h"
#include "engine/long_path.h"

#include <windows.h>

bool IsFolderRow(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ShredItemExists(const std::wstring& path) {
    if (GetFileAttributesW(ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
           error != ERROR_INVALID_NAME;
}
