// The engine's one door to the file system: every file and folder operation it makes, and the
// allocation of overwrite chunks. Production code leaves the table as it is (straight to kernel32
// and the process heap); a test swaps single entries to make one operation fail on demand.
#pragma once

#include <windows.h>

#include <cstddef>

struct FileSystemApi {
    decltype(&::SetFileAttributesW) SetFileAttributesW;
    decltype(&::CreateFileW) CreateFileW;
    decltype(&::GetFileInformationByHandle) GetFileInformationByHandle;
    decltype(&::GetFileInformationByHandleEx) GetFileInformationByHandleEx;
    decltype(&::GetFileSizeEx) GetFileSizeEx;
    decltype(&::SetFilePointer) SetFilePointer;
    decltype(&::WriteFile) WriteFile;
    decltype(&::FlushFileBuffers) FlushFileBuffers;
    decltype(&::SetEndOfFile) SetEndOfFile;
    decltype(&::CloseHandle) CloseHandle;
    decltype(&::MoveFileW) MoveFileW;
    decltype(&::DeleteFileW) DeleteFileW;
    decltype(&::RemoveDirectoryW) RemoveDirectoryW;
    decltype(&::FindFirstFileW) FindFirstFileW;
    decltype(&::FindNextFileW) FindNextFileW;
    decltype(&::FindClose) FindClose;
    // One overwrite chunk of size bytes; nullptr when there is no memory for it.
    void* (*AllocateChunk)(std::size_t size);
    void (*FreeChunk)(void* chunk);
};

// The operations the engine uses, initialised to the real ones.
extern FileSystemApi FileSystem;

// The real operations, for restoring the table or for a test's pass-through wrappers.
extern const FileSystemApi RealFileSystem;
