#include "engine/named_streams.h"

#include "engine/compression.h"
#include "engine/handles.h"
#include "engine/item_checks.h"

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::wstring_view DataStreamSuffix = L":$DATA";
constexpr std::wstring_view MainStreamName = L"::$DATA";
// Room for the main stream and a few named ones; a longer listing grows the buffer as it asks.
constexpr std::size_t FirstListingSize = 4 * 1024;

// The answers of a volume, or of a platform, that keeps no named streams: FAT and exFAT answer
// invalid parameter, some redirectors not supported, Wine invalid function. End of file is a
// listing with no entry at all.
bool MeansNoStreams(DWORD error) {
    return error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_FUNCTION || error == ERROR_HANDLE_EOF;
}

enum class Listing { Listed, NoStreams, Failed };

// The item's stream names (":name:$DATA"), the main one left out, read whole however long. A
// folder without streams lists nothing at all (end of file).
Listing ListNamedStreams(HANDLE item, std::vector<std::wstring>& names) {
    std::vector<unsigned char> buffer(FirstListingSize);
    while (!FileSystem.GetFileInformationByHandleEx(item, FileStreamInfo, buffer.data(),
                                                    static_cast<DWORD>(buffer.size()))) {
        const DWORD error = GetLastError();
        if (MeansNoStreams(error)) {
            return Listing::NoStreams;
        }
        if ((error != ERROR_MORE_DATA && error != ERROR_INSUFFICIENT_BUFFER) ||
            buffer.size() > std::numeric_limits<DWORD>::max() / 2) {
            return Listing::Failed;
        }
        buffer.resize(buffer.size() * 2);
    }
    for (std::size_t offset = 0;;) {
        if (buffer.size() - offset < sizeof(FILE_STREAM_INFO)) {
            return Listing::Failed;
        }
        const auto* entry = reinterpret_cast<const FILE_STREAM_INFO*>(buffer.data() + offset);
        const std::size_t nameOffset = offsetof(FILE_STREAM_INFO, StreamName);
        if (entry->StreamNameLength > buffer.size() - offset - nameOffset) {
            return Listing::Failed;
        }
        const std::wstring_view name(entry->StreamName, entry->StreamNameLength / sizeof(wchar_t));
        if (name != MainStreamName && name.ends_with(DataStreamSuffix) && name.size() > 1) {
            names.emplace_back(name);
        }
        if (entry->NextEntryOffset == 0) {
            return Listing::Listed;
        }
        offset += entry->NextEntryOffset;
    }
}

} // namespace

bool OverwriteNamedStreams(HANDLE item, ShredMethod method) {
    std::vector<std::wstring> names;
    switch (ListNamedStreams(item, names)) {
    case Listing::Listed:
        break;
    case Listing::NoStreams:
        return true;
    case Listing::Failed:
        return false;
    }
    for (const std::wstring& name : names) {
        FileHandle stream = OpenDataStream(item, name);
        if (!stream.IsValid() || !StoreUncompressed(stream.Get())) {
            return false;
        }
        HANDLE handle = stream.Get();
        if (!method(handle)) {
            return false;
        }
    }
    return true;
}
