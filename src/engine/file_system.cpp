#include "engine/file_system.h"

#include <winternl.h>

#include <cwchar>
#include <memory>
#include <vector>

namespace {

// ntdll's own entries; MinGW declares the types but links none of them.
using NtCreateFileFunction = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES,
                                              PIO_STATUS_BLOCK, PLARGE_INTEGER, ULONG, ULONG, ULONG,
                                              ULONG, PVOID, ULONG);
using NtSetInformationFileFunction = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG,
                                                      ULONG);
using NtQueryInformationFileFunction = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG,
                                                        FILE_INFORMATION_CLASS);
using NtQueryObjectFunction = NTSTATUS(NTAPI*)(HANDLE, OBJECT_INFORMATION_CLASS, PVOID, ULONG,
                                               PULONG);
using RtlNtStatusToDosErrorFunction = ULONG(NTAPI*)(NTSTATUS);

constexpr ULONG FileRenameInformationClass = 10;
constexpr auto FileInternalInformationClass = static_cast<FILE_INFORMATION_CLASS>(6);
constexpr auto ObjectNameInformationClass = static_cast<OBJECT_INFORMATION_CLASS>(1);
// Room for the longest name the system allows, after the name's own header.
constexpr ULONG ItemNameBufferSize = sizeof(UNICODE_STRING) + 32768 * sizeof(wchar_t);
constexpr NTSTATUS StatusObjectPathSyntaxBad = static_cast<NTSTATUS>(0xC000003B);
constexpr NTSTATUS StatusInvalidParameter = static_cast<NTSTATUS>(0xC000000D);

// FILE_INFO_BY_HANDLE_CLASS 21 and its flags, newer than the headers' target version.
constexpr auto FileDispositionInfoExClass = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
constexpr DWORD DispositionDelete = 0x1;
constexpr DWORD DispositionPosixSemantics = 0x2;
constexpr DWORD DispositionIgnoreReadOnly = 0x10;

template <typename Function> Function NtdllEntry(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

const auto NtCreateFileEntry = NtdllEntry<NtCreateFileFunction>("NtCreateFile");
const auto NtSetInformationFileEntry =
    NtdllEntry<NtSetInformationFileFunction>("NtSetInformationFile");
const auto NtQueryInformationFileEntry =
    NtdllEntry<NtQueryInformationFileFunction>("NtQueryInformationFile");
const auto NtQueryObjectEntry = NtdllEntry<NtQueryObjectFunction>("NtQueryObject");
const auto RtlNtStatusToDosErrorEntry =
    NtdllEntry<RtlNtStatusToDosErrorFunction>("RtlNtStatusToDosError");

// False, with the last error set, when ntdll lacks the entry.
template <typename Function> bool Available(Function entry) {
    if (entry == nullptr) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    }
    return entry != nullptr;
}

// Whether an ntdll call succeeded; when not, its status becomes the last error.
bool Succeeded(NTSTATUS status) {
    if (!NT_SUCCESS(status)) {
        SetLastError(RtlNtStatusToDosErrorEntry ? RtlNtStatusToDosErrorEntry(status)
                                                : ERROR_GEN_FAILURE);
    }
    return NT_SUCCESS(status);
}

HANDLE CreateFileRelative(HANDLE root, LPCWSTR name, DWORD access, DWORD share, ULONG disposition,
                          DWORD options) {
    if (!Available(NtCreateFileEntry)) {
        return INVALID_HANDLE_VALUE;
    }
    UNICODE_STRING objectName;
    objectName.Buffer = const_cast<PWSTR>(name);
    objectName.Length = static_cast<USHORT>(std::wcslen(name) * sizeof(wchar_t));
    objectName.MaximumLength = objectName.Length;
    OBJECT_ATTRIBUTES attributes{};
    attributes.Length = sizeof(attributes);
    attributes.RootDirectory = root;
    attributes.ObjectName = &objectName;
    IO_STATUS_BLOCK status{};
    HANDLE handle = INVALID_HANDLE_VALUE;
    const NTSTATUS result =
        NtCreateFileEntry(&handle, access | SYNCHRONIZE, &attributes, &status, nullptr,
                          FILE_ATTRIBUTE_NORMAL, share, disposition,
                          options | FILE_OPEN_REPARSE_POINT | FILE_OPEN_FOR_BACKUP_INTENT |
                              FILE_SYNCHRONOUS_IO_NONALERT,
                          nullptr, 0);
    if (!Succeeded(result)) {
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

HANDLE OpenRelativeToHandle(HANDLE root, LPCWSTR name, DWORD access, DWORD share, DWORD options) {
    return CreateFileRelative(root, name, access, share, FILE_OPEN, options);
}

HANDLE CreateRelativeToHandle(HANDLE root, LPCWSTR name, DWORD access, DWORD share, DWORD options) {
    return CreateFileRelative(root, name, access, share, FILE_CREATE, options);
}

// kernel32 has no class for the bare index; the ones that carry it also fetch the volume's serial
// number, which Wine resolves through the whole path.
BOOL IndexOfHandle(HANDLE item, LONGLONG* index) {
    if (!Available(NtQueryInformationFileEntry)) {
        return FALSE;
    }
    IO_STATUS_BLOCK status{};
    LARGE_INTEGER internal{};
    const NTSTATUS result = NtQueryInformationFileEntry(item, &status, &internal, sizeof(internal),
                                                        FileInternalInformationClass);
    if (!Succeeded(result)) {
        return FALSE;
    }
    if (internal.QuadPart == 0 || internal.QuadPart == -1) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    *index = internal.QuadPart;
    return TRUE;
}

// One call that names the volume and the path together. Under Wine it costs a small fraction of
// GetFileInformationByHandle, which asks the mount manager for the volume's serial number.
BOOL NameOfHandle(HANDLE item, std::wstring& name) {
    if (!Available(NtQueryObjectEntry)) {
        return FALSE;
    }
    // One buffer per thread, reused for every item.
    thread_local const std::unique_ptr<unsigned char[]> buffer(
        new unsigned char[ItemNameBufferSize]);
    ULONG length = 0;
    const NTSTATUS result = NtQueryObjectEntry(item, ObjectNameInformationClass, buffer.get(),
                                               ItemNameBufferSize, &length);
    if (!Succeeded(result)) {
        return FALSE;
    }
    const auto* found = reinterpret_cast<const UNICODE_STRING*>(buffer.get());
    name.assign(found->Buffer, found->Length / sizeof(wchar_t));
    return TRUE;
}

NTSTATUS RenameInformation(HANDLE item, HANDLE root, LPCWSTR name) {
    const std::size_t nameBytes = std::wcslen(name) * sizeof(wchar_t);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = root;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::wmemcpy(rename->FileName, name, nameBytes / sizeof(wchar_t));
    IO_STATUS_BLOCK status{};
    return NtSetInformationFileEntry(item, &status, rename, static_cast<ULONG>(buffer.size()),
                                     FileRenameInformationClass);
}

// Windows renames within the item's own folder when given a bare name and no root (no path is
// resolved at all). Wine refuses that form and wants the folder's handle as root, which is as
// safe: kernel32's SetFileInformationByHandle is not used because Wine resolves its bare name
// against the current folder. Each call decides for itself, since one file system's refusal says
// nothing of another's. The rooted form opens the folder for writing with sharing of reading and
// writing only, so it fails while any handle to that folder holds delete access.
bool IsBareRenameRefusal(NTSTATUS status) {
    return status == StatusObjectPathSyntaxBad || status == StatusInvalidParameter;
}

BOOL RenameWithinFolder(HANDLE item, HANDLE folder, LPCWSTR name) {
    if (!Available(NtSetInformationFileEntry)) {
        return FALSE;
    }
    NTSTATUS result = RenameInformation(item, nullptr, name);
    if (IsBareRenameRefusal(result)) {
        result = RenameInformation(item, folder, name);
    }
    if (!Succeeded(result)) {
        return FALSE;
    }
    return TRUE;
}

bool IsUnsupportedAnswer(DWORD error) {
    return error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_FUNCTION || error == ERROR_CALL_NOT_IMPLEMENTED;
}

// POSIX semantics take the name away at once, even while another handle that shares deletion
// is open; platforms or volumes without them get the classic delete-on-close.
BOOL DeleteThroughHandle(HANDLE item) {
    DWORD flags = DispositionDelete | DispositionPosixSemantics | DispositionIgnoreReadOnly;
    if (SetFileInformationByHandle(item, FileDispositionInfoExClass, &flags, sizeof(flags))) {
        return TRUE;
    }
    if (!IsUnsupportedAnswer(GetLastError())) {
        return FALSE;
    }
    FILE_DISPOSITION_INFO classic{TRUE};
    return SetFileInformationByHandle(item, FileDispositionInfo, &classic, sizeof(classic));
}

void* HeapAllocateChunk(std::size_t size) {
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void HeapFreeChunk(void* chunk) {
    HeapFree(GetProcessHeap(), 0, chunk);
}

} // namespace

const FileSystemApi RealFileSystem = {
    .CreateFileW = &::CreateFileW,
    .OpenRelative = &OpenRelativeToHandle,
    .CreateRelative = &CreateRelativeToHandle,
    .GetItemName = &NameOfHandle,
    .GetFinalPathNameByHandleW = &::GetFinalPathNameByHandleW,
    .GetFileInformationByHandleEx = &::GetFileInformationByHandleEx,
    .GetFileInformationByHandle = &::GetFileInformationByHandle,
    .GetFileIndex = &IndexOfHandle,
    .SetFileInformationByHandle = &::SetFileInformationByHandle,
    .RenameByHandle = &RenameWithinFolder,
    .DeleteByHandle = &DeleteThroughHandle,
    .GetFileSizeEx = &::GetFileSizeEx,
    .SetFilePointer = &::SetFilePointer,
    .WriteFile = &::WriteFile,
    .FlushFileBuffers = &::FlushFileBuffers,
    .SetEndOfFile = &::SetEndOfFile,
    .DeviceIoControl = &::DeviceIoControl,
    .CloseHandle = &::CloseHandle,
    .AllocateChunk = &HeapAllocateChunk,
    .FreeChunk = &HeapFreeChunk,
    .GetDiskFreeSpaceExW = &::GetDiskFreeSpaceExW,
    .GetDiskFreeSpaceW = &::GetDiskFreeSpaceW,
    .GetVolumeInformationW = &::GetVolumeInformationW,
    .GetVolumeInformationByHandleW = &::GetVolumeInformationByHandleW,
};

FileSystemApi FileSystem = RealFileSystem;
