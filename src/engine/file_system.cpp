#include "engine/file_system.h"

namespace {

void* HeapAllocateChunk(std::size_t size) {
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void HeapFreeChunk(void* chunk) {
    HeapFree(GetProcessHeap(), 0, chunk);
}

} // namespace

const FileSystemApi RealFileSystem = {
    &::SetFileAttributesW,
    &::CreateFileW,
    &::GetFileInformationByHandle,
    &::GetFileInformationByHandleEx,
    &::GetFileSizeEx,
    &::SetFilePointer,
    &::WriteFile,
    &::FlushFileBuffers,
    &::SetEndOfFile,
    &::CloseHandle,
    &::MoveFileW,
    &::DeleteFileW,
    &::RemoveDirectoryW,
    &::FindFirstFileW,
    &::FindNextFileW,
    &::FindClose,
    &HeapAllocateChunk,
    &HeapFreeChunk,
};

FileSystemApi FileSystem = RealFileSystem;
