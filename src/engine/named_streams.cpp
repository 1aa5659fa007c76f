#include "engine/named_streams.h"

#include "engine/handles.h"
#include "engine/item_checks.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::wstring_view DataStreamSuffix = L":$DATA";
constexpr std::wstring_view MainStreamName = L"::$DATA";
constexpr std::size_t FirstListingSize = 16 * 1024;
constexpr std::size_t LargestListingSize = 1024 * 1024;

// The file's stream names (":name:$DATA"), the main one left out; empty when not listed.
std::vector<std::wstring> NamedStreams(HANDLE file) {
    std::vector<std::wstring> names;
    std::vector<unsigned char> buffer(FirstListingSize);
    while (!FileSystem.GetFileInformationByHandleEx(file, FileStreamInfo, buffer.data(),
                                                    static_cast<DWORD>(buffer.size()))) {
        if (GetLastError() != ERROR_MORE_DATA || buffer.size() >= LargestListingSize) {
            return names;
        }
        buffer.resize(buffer.size() * 4);
    }
    std::size_t offset = 0;
    for (;;) {
        const auto* entry = reinterpret_cast<const FILE_STREAM_INFO*>(buffer.data() + offset);
        const std::wstring_view name(entry->StreamName, entry->StreamNameLength / sizeof(wchar_t));
        if (name != MainStreamName && name.ends_with(DataStreamSuffix) && name.size() > 1) {
            names.emplace_back(name);
        }
        if (entry->NextEntryOffset == 0) {
            return names;
        }
        offset += entry->NextEntryOffset;
        if (offset + sizeof(FILE_STREAM_INFO) > buffer.size()) {
            return names;
        }
    }
}

} // namespace

bool OverwriteNamedStreams(HANDLE file, ShredMethod method) {
    for (const std::wstring& name : NamedStreams(file)) {
        FileHandle stream = OpenDataStream(file, name);
        if (!stream.IsValid()) {
            return false;
        }
        HANDLE handle = stream.Get();
        if (!method(handle)) {
            return false;
        }
    }
    return true;
}
