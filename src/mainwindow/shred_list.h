// The shred list's logic, apart from any control: an ordered sequence of rows (name, full path,
// size text) over a store that the list-view control or plain memory provides.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Row text indices, which are also the list-view's column indices.
enum ShredListColumn : int { ShredColumnName = 0, ShredColumnPath = 1, ShredColumnSize = 2 };

// Where the rows live. Indices run from 0 to Count() - 1 in the order of adding.
class ShredRows {
public:
    virtual ~ShredRows() = default;
    virtual int Count() const = 0;
    // Inserts a row at index with text 0 set and the other texts empty.
    virtual void Insert(int index, const std::wstring& name) = 0;
    virtual void SetText(int index, int column, const std::wstring& text) = 0;
    virtual std::wstring Text(int index, int column) const = 0;
    // The first selected row after start (start -1: from the beginning), or -1.
    virtual int NextSelected(int start) const = 0;
    virtual void Delete(int index) = 0;
    virtual void DeleteAll() = 0;
};

enum class PathKind { Directory, File, Unreadable };

// The two questions that adding a row asks the file system.
class PathProbe {
public:
    virtual ~PathProbe() = default;
    virtual PathKind KindOf(const std::wstring& path) const = 0;
    // The file's size in bytes; empty when it cannot be opened or measured.
    virtual std::optional<long long> FileSize(const std::wstring& path) const = 0;
};

inline constexpr std::wstring_view DirectorySizeText = L"<DIR>";

// Nearest whole number of 1024-byte units, halves rounded up; any non-empty file is at least 1.
long long SizeInKilobytes(long long bytes);
// "%lld KB" of SizeInKilobytes.
std::wstring SizeText(long long bytes);
// "<DIR>", "%lld KB", or empty when the path cannot be examined.
std::wstring SizeTextOf(const std::wstring& path, const PathProbe& probe);
// Appends a row for path, named by its last component; returns false, adding nothing, unless the
// engine takes path as a usable full path, so that every row is one the job can act on.
bool AddShredRow(ShredRows& rows, const std::wstring& path, const PathProbe& probe);
void RemoveSelectedShredRows(ShredRows& rows);
void ClearShredRows(ShredRows& rows);
std::wstring ShredRowPath(const ShredRows& rows, int index);
