// The engine's one door to the file system: every file and folder operation it makes, and the
// allocation of overwrite chunks. Production code leaves the table as it is (straight to kernel32,
// ntdll and the process heap); a test swaps single entries to make one operation fail on demand.
// Only CreateFileW takes a path, and the engine uses it for nothing but the folder that holds a
// chosen item and a volume's root: every item is opened relative to its folder's handle and
// handled through its own.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

struct FileSystemApi {
    decltype(&::CreateFileW) CreateFileW;
    // Opens name (a bare entry name, an empty name for the root itself, or ":stream:$DATA")
    // relative to the open root, never following a link at name (NtCreateFile with FILE_OPEN,
    // FILE_OPEN_REPARSE_POINT, FILE_OPEN_FOR_BACKUP_INTENT and FILE_SYNCHRONOUS_IO_NONALERT added
    // to options; SYNCHRONIZE added to access). INVALID_HANDLE_VALUE and the last error on
    // failure.
    HANDLE (*OpenRelative)(HANDLE root, LPCWSTR name, DWORD access, DWORD share, DWORD options);
    // Creates name, which must not exist yet, in the open folder root, with the same rules as
    // OpenRelative otherwise (NtCreateFile with FILE_CREATE): a folder when options hold
    // FILE_DIRECTORY_FILE, else a file. INVALID_HANDLE_VALUE and the last error on failure.
    HANDLE (*CreateRelative)(HANDLE root, LPCWSTR name, DWORD access, DWORD share, DWORD options);
    // The open item's full name as the system knows it, its volume included:
    // "\Device\HarddiskVolume2\dir\file" on Windows, "\??\Z:\dir\file" under Wine
    // (NtQueryObject, ObjectNameInformation). FALSE and the last error on failure.
    BOOL (*GetItemName)(HANDLE item, std::wstring& name);
    // Where the open item is, its links resolved: "\\?\C:\dir\file", "\\?\UNC\server\share\file" or
    // with VOLUME_NAME_GUID "\\?\Volume{...}\dir\file".
    decltype(&::GetFinalPathNameByHandleW) GetFinalPathNameByHandleW;
    decltype(&::GetFileInformationByHandleEx) GetFileInformationByHandleEx;
    // Only where FileIdInfo is not answered: the volume serial and 64-bit index of an item.
    decltype(&::GetFileInformationByHandle) GetFileInformationByHandle;
    // The open item's index number on its volume, the same one its folder's listing gives as
    // FileId (NtQueryInformationFile, FileInternalInformation); FALSE and the last error on
    // failure, and FALSE with ERROR_NOT_SUPPORTED where the file system gives no such number (0,
    // or all ones), so that two such items never pass for one.
    BOOL (*GetFileIndex)(HANDLE item, LONGLONG* index);
    decltype(&::SetFileInformationByHandle) SetFileInformationByHandle;
    // Gives the open item the bare name in the folder that holds it (open as folder), never
    // replacing an existing item; FALSE and the last error on failure. Where the file system
    // refuses the rename in place, folder is opened for writing with sharing of reading and
    // writing only: no handle to it may then hold delete access.
    BOOL (*RenameByHandle)(HANDLE item, HANDLE folder, LPCWSTR name);
    // Removes the open item's name, a file or an empty folder; FALSE and the last error on
    // failure.
    BOOL (*DeleteByHandle)(HANDLE item);
    decltype(&::GetFileSizeEx) GetFileSizeEx;
    decltype(&::SetFilePointer) SetFilePointer;
    decltype(&::WriteFile) WriteFile;
    decltype(&::FlushFileBuffers) FlushFileBuffers;
    decltype(&::SetEndOfFile) SetEndOfFile;
    // File-system controls on an open item (allocated ranges, compression).
    decltype(&::DeviceIoControl) DeviceIoControl;
    decltype(&::CloseHandle) CloseHandle;
    // One overwrite chunk of size bytes; nullptr when there is no memory for it.
    void* (*AllocateChunk)(std::size_t size);
    void (*FreeChunk)(void* chunk);
    // What a volume, named by its root, holds and how it is laid out; the free-space wipe's only
    // questions by path, none of which opens an item.
    decltype(&::GetDiskFreeSpaceExW) GetDiskFreeSpaceExW;
    decltype(&::GetDiskFreeSpaceW) GetDiskFreeSpaceW;
    decltype(&::GetVolumeInformationW) GetVolumeInformationW;
    // The file system of the volume that holds an open item (its name: "NTFS", "FAT32", ...).
    decltype(&::GetVolumeInformationByHandleW) GetVolumeInformationByHandleW;
};

// The operations the engine uses, initialised to the real ones.
extern FileSystemApi FileSystem;

// The real operations, for restoring the table or for a test's pass-through wrappers.
extern const FileSystemApi RealFileSystem;
