#include "engine/link_removal.h"

#include "engine/item_checks.h"

bool IsNameSurrogate(DWORD reparseTag) {
    return IsReparseTagNameSurrogate(reparseTag) != 0;
}

bool RemoveLink(HANDLE folder, const std::wstring& name) {
    FileHandle link = OpenEntry(folder, name, DELETE | FILE_READ_ATTRIBUTES, ShareAll);
    if (!link.IsValid()) {
        return false;
    }
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!FileSystem.GetFileInformationByHandleEx(link.Get(), FileAttributeTagInfo, &tag,
                                                 sizeof(tag)) ||
        !(tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || !IsNameSurrogate(tag.ReparseTag)) {
        return false;
    }
    return FileSystem.DeleteByHandle(link.Get()) != FALSE;
}
