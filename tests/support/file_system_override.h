// Swapping entries of the engine's file-system table for one test, restored afterwards.
#pragma once

#include "engine/file_system.h"

// While alive, tests may assign any entry of FileSystem (for example a WriteFile that fails on
// its second pass); the whole table is put back when it goes out of scope. Entries not replaced
// keep going to the real operations (RealFileSystem).
class FileSystemOverride {
public:
    FileSystemOverride() : saved_(FileSystem) {}
    ~FileSystemOverride() { FileSystem = saved_; }
    FileSystemOverride(const FileSystemOverride&) = delete;
    FileSystemOverride& operator=(const FileSystemOverride&) = delete;

private:
    FileSystemApi saved_;
};
