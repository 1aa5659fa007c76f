#include "job/shred_path.h"
#include "engine/long_path.h"

#include <windows.h>

bool IsFolderRow(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
