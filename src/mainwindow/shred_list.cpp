#include "mainwindow/shred_list.h"

#include "engine/long_path.h"

#include <cwchar>

long long SizeInKilobytes(long long bytes) {
    if (bytes <= 0) {
        return 0;
    }
    if (bytes < 1024) {
        return 1;
    }
    // Same as (bytes + 512) / 1024, without overflowing near the top of the range.
    return bytes / 1024 + (bytes % 1024 >= 512 ? 1 : 0);
}

std::wstring SizeText(long long bytes) {
    wchar_t text[24] = {};
    std::swprintf(text, std::size(text), L"%lld KB", SizeInKilobytes(bytes));
    return text;
}

std::wstring SizeTextOf(const std::wstring& path, const PathProbe& probe) {
    switch (probe.KindOf(path)) {
    case PathKind::Directory:
        return std::wstring(DirectorySizeText);
    case PathKind::File:
        if (const std::optional<long long> size = probe.FileSize(path)) {
            return SizeText(*size);
        }
        return {};
    case PathKind::Unreadable:
        break;
    }
    return {};
}

bool AddShredRow(ShredRows& rows, const std::wstring& path, const PathProbe& probe) {
    if (!IsUsableFullPath(path)) {
        return false;
    }
    // The row and its path go in before the file system is asked anything, so a path that cannot
    // be examined still gives a row.
    const int index = rows.Count();
    rows.Insert(index, LastComponent(path));
    rows.SetText(index, ShredColumnPath, path);
    rows.SetText(index, ShredColumnSize, SizeTextOf(path, probe));
    return true;
}

void RemoveSelectedShredRows(ShredRows& rows) {
    for (int row = rows.NextSelected(-1); row >= 0; row = rows.NextSelected(-1)) {
        rows.Delete(row);
    }
}

void ClearShredRows(ShredRows& rows) {
    rows.DeleteAll();
}

std::wstring ShredRowPath(const ShredRows& rows, int index) {
    return rows.Text(index, ShredColumnPath);
}
