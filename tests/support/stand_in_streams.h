// Named streams, which Wine lacks, standing in as side files: the file's stream listing answers
// their names (as Windows does, a buffer too short for the whole listing gets ERROR_MORE_DATA), and
// opening one of them relative to a file opens its side file, whose handle the engine then owns.
// Header only, for test programs that link the engine.
#pragma once

#include "engine/file_system.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

struct StandInStreams {
    static inline std::vector<std::pair<std::wstring, std::wstring>> streams; // name, side file
    static inline DWORD refuseWith = 0; // the listing's error, when not 0
    static inline std::vector<HANDLE> opened;
    static inline std::vector<DWORD> listingSizes; // the buffer size of each listing call
    static inline FileSystemApi below;

    static BOOL WINAPI List(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
        const BOOL real = below.GetFileInformationByHandleEx(file, kind, info, size);
        if (kind != FileStreamInfo) {
            return real;
        }
        listingSizes.push_back(size);
        if (refuseWith != 0) {
            SetLastError(refuseWith);
            return FALSE;
        }
        std::vector<std::wstring> names{L"::$DATA"};
        for (const auto& stream : streams) {
            names.push_back(stream.first);
        }
        std::vector<unsigned char> listing;
        std::size_t last = 0;
        for (const std::wstring& name : names) {
            const std::size_t offset = listing.size();
            const std::size_t length =
                (sizeof(FILE_STREAM_INFO) + name.size() * sizeof(wchar_t) + 7) & ~std::size_t{7};
            listing.resize(offset + length);
            auto* entry = reinterpret_cast<FILE_STREAM_INFO*>(listing.data() + offset);
            entry->StreamNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
            name.copy(entry->StreamName, name.size());
            if (offset != 0) {
                reinterpret_cast<FILE_STREAM_INFO*>(listing.data() + last)->NextEntryOffset =
                    static_cast<DWORD>(offset - last);
            }
            last = offset;
        }
        std::memset(info, 0, size);
        std::memcpy(info, listing.data(), std::min<std::size_t>(size, listing.size()));
        if (listing.size() > size) {
            SetLastError(ERROR_MORE_DATA);
            return FALSE;
        }
        return TRUE;
    }

    static HANDLE Open(HANDLE root, LPCWSTR name, DWORD access, DWORD share, DWORD options) {
        const HANDLE real = below.OpenRelative(root, name, access, share, options);
        if (name[0] != L':') {
            return real;
        }
        for (const auto& stream : streams) {
            if (stream.first == name) {
                const HANDLE side =
                    RealFileSystem.CreateFileW(stream.second.c_str(), GENERIC_READ | GENERIC_WRITE,
                                               0, nullptr, OPEN_EXISTING, 0, nullptr);
                opened.push_back(side);
                return side;
            }
        }
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }

    // Installs itself over the entries in FileSystem now (a trace's recording ones, say), with the
    // given streams (name, side file) and the listing's error when not 0; the caller restores the
    // table.
    explicit StandInStreams(std::vector<std::pair<std::wstring, std::wstring>> given,
                            DWORD refuse = 0) {
        streams = std::move(given);
        refuseWith = refuse;
        below = FileSystem;
        opened.clear();
        listingSizes.clear();
        FileSystem.GetFileInformationByHandleEx = List;
        FileSystem.OpenRelative = Open;
    }
    StandInStreams(const StandInStreams&) = delete;
    StandInStreams& operator=(const StandInStreams&) = delete;
};
