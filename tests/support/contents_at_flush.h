// What a file holds on the disk right after each flush: the bytes of every pass as the disk got
// them, whatever the writes that made them.
#pragma once

#include "engine/file_system.h"
#include "support/file_system_override.h"
#include "support/temp_folder.h"

#include <string>
#include <vector>

// While alive, every successful FlushFileBuffers through the file-system table reads the watched
// file back into Seen(). Made after a FileSystemTrace, the flushes are traced too.
class ContentsAtFlush {
public:
    explicit ContentsAtFlush(const std::wstring& path) {
        seen_.clear();
        watched_ = path;
        below_ = FileSystem;
        FileSystem.FlushFileBuffers = [](HANDLE handle) -> BOOL {
            const BOOL ok = below_.FlushFileBuffers(handle);
            if (ok) {
                seen_.push_back(ReadTestFile(watched_));
            }
            return ok;
        };
    }
    ContentsAtFlush(const ContentsAtFlush&) = delete;
    ContentsAtFlush& operator=(const ContentsAtFlush&) = delete;

    static const std::vector<std::string>& Seen() { return seen_; }

private:
    static inline std::vector<std::string> seen_;
    static inline std::wstring watched_;
    static inline FileSystemApi below_;
    FileSystemOverride restore_;
};
