#include "engine/free_space_wipe.h"

const wchar_t FillFolderName[] = L"Ferrolet free-space wipe - safe to delete";

bool ReadFreeSpace(const std::wstring& root, ULONGLONG& bytes) {
    ULARGE_INTEGER available{};
    ULARGE_INTEGER total{};
    ULARGE_INTEGER free{};
    if (!GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free)) {
        return false;
    }
    bytes = free.QuadPart;
    return true;
}

FreeSpaceWipeResult WipeFreeSpace(const std::wstring&, ShredMethod, ShredProgress&) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FreeSpaceWipeResult::Failed;
}

std::vector<std::wstring> RemoveLeftoverFillFolders() {
    return {};
}
