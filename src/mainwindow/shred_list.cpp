#include "mainwindow/shred_list.h"

#include "engine/long_path.h"

#include <cwchar>

namespace {

bool SameOrdinalIgnoringCase(std::wstring_view first, std::wstring_view second) {
    return CompareStringOrdinal(first.data(), static_cast<int>(first.size()), second.data(),
                                static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

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

std::wstring SizeTextOf(const WIN32_FILE_ATTRIBUTE_DATA& data) {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        return std::wstring(DirectorySizeText);
    }
    ULARGE_INTEGER size = {};
    size.LowPart = data.nFileSizeLow;
    size.HighPart = data.nFileSizeHigh;
    return SizeText(static_cast<long long>(size.QuadPart));
}

bool SamePath(const std::wstring& first, const std::wstring& second) {
    return SameOrdinalIgnoringCase(ExtendedPath(first), ExtendedPath(second));
}

bool SameOrInside(const std::wstring& path, const std::wstring& folder) {
    const std::wstring inner = ExtendedPath(path);
    const std::wstring outer = ExtendedPath(folder);
    if (inner.size() < outer.size()) {
        return false;
    }
    const std::wstring_view head = std::wstring_view(inner).substr(0, outer.size());
    return SameOrdinalIgnoringCase(head, outer) &&
           (inner.size() == outer.size() || inner[outer.size()] == L'\\');
}

std::wstring ParentOf(const std::wstring& path) {
    const std::size_t last = path.rfind(L'\\');
    if (last == std::wstring::npos) {
        return {};
    }
    std::wstring parent = path.substr(0, last);
    return IsUsableFullPath(parent) ? parent : std::wstring();
}
