// Recording every operation the engine makes through its file-system table, in order, and
// failing chosen ones on demand. Header only, so that only test programs that link the engine
// pull it in.
#pragma once

#include "engine/file_system.h"
#include "support/file_system_override.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct FileOp {
    enum class Kind {
        SetAttributes,
        Open,
        Inspect, // GetFileInformationByHandle
        Locate,  // GetFileInformationByHandleEx
        SizeQuery,
        Seek,
        Write,
        Flush,
        Truncate,
        Close,
        Move,
        Delete,
        RemoveFolder,
        ListFirst,
        ListNext,
        ListClose,
        Allocate,
        Free,
    };
    Kind kind;
    std::size_t size = 0; // Write: bytes asked for; Allocate: bytes
    std::string bytes;    // Write: the bytes, when at most SmallWrite of them
    std::wstring path;    // operations by path: the path passed
    std::wstring newPath; // Move: the new path
    bool failed = false;  // made to fail by the trace
    static constexpr std::size_t SmallWrite = 4096;
};

// While alive, every entry of FileSystem records its call in Ops() and then calls the real
// operation, unless FailWhen's predicate says this call fails (it sees the op about to be
// recorded); a failed call returns the operation's failure value with ERROR_WRITE_FAULT, or
// nullptr for Allocate. Restores the table when it goes out of scope.
class FileSystemTrace {
public:
    FileSystemTrace() {
        active_ = this;
        FileSystem = Recording();
    }
    ~FileSystemTrace() { active_ = nullptr; }
    FileSystemTrace(const FileSystemTrace&) = delete;
    FileSystemTrace& operator=(const FileSystemTrace&) = delete;

    const std::vector<FileOp>& Ops() const { return ops_; }
    void FailWhen(std::function<bool(const FileOp&)> predicate) { fail_ = std::move(predicate); }
    void Clear() { ops_.clear(); }

    std::vector<FileOp> OpsOf(FileOp::Kind kind) const {
        std::vector<FileOp> found;
        for (const FileOp& op : ops_) {
            if (op.kind == kind) {
                found.push_back(op);
            }
        }
        return found;
    }
    std::size_t Count(FileOp::Kind kind) const { return OpsOf(kind).size(); }

    // The kinds in order, leaving out the ones given.
    std::vector<FileOp::Kind> KindsWithout(std::initializer_list<FileOp::Kind> left) const {
        std::vector<FileOp::Kind> kinds;
        for (const FileOp& op : ops_) {
            bool skip = false;
            for (FileOp::Kind kind : left) {
                skip = skip || op.kind == kind;
            }
            if (!skip) {
                kinds.push_back(op.kind);
            }
        }
        return kinds;
    }

private:
    // Records op; true when it is to fail.
    static bool Record(FileOp op) {
        FileSystemTrace& trace = *active_;
        op.failed = trace.fail_ && trace.fail_(op);
        trace.ops_.push_back(op);
        if (op.failed) {
            SetLastError(ERROR_WRITE_FAULT);
        }
        return op.failed;
    }
    static FileOp Op(FileOp::Kind kind, const wchar_t* path = nullptr) {
        FileOp op{};
        op.kind = kind;
        if (path) {
            op.path = path;
        }
        return op;
    }

    static FileSystemApi Recording() {
        using K = FileOp::Kind;
        FileSystemApi api = RealFileSystem;
        api.SetFileAttributesW = [](LPCWSTR path, DWORD attributes) -> BOOL {
            return Record(Op(K::SetAttributes, path))
                       ? FALSE
                       : RealFileSystem.SetFileAttributesW(path, attributes);
        };
        api.CreateFileW = [](LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                             DWORD disposition, DWORD flags, HANDLE templateFile) -> HANDLE {
            return Record(Op(K::Open, path))
                       ? INVALID_HANDLE_VALUE
                       : RealFileSystem.CreateFileW(path, access, share, sa, disposition, flags,
                                                    templateFile);
        };
        api.GetFileInformationByHandle = [](HANDLE file,
                                            LPBY_HANDLE_FILE_INFORMATION info) -> BOOL {
            return Record(Op(K::Inspect)) ? FALSE
                                          : RealFileSystem.GetFileInformationByHandle(file, info);
        };
        api.GetFileInformationByHandleEx = [](HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind,
                                              LPVOID info, DWORD size) -> BOOL {
            return Record(Op(K::Locate))
                       ? FALSE
                       : RealFileSystem.GetFileInformationByHandleEx(file, kind, info, size);
        };
        api.GetFileSizeEx = [](HANDLE file, PLARGE_INTEGER size) -> BOOL {
            return Record(Op(K::SizeQuery)) ? FALSE : RealFileSystem.GetFileSizeEx(file, size);
        };
        api.SetFilePointer = [](HANDLE file, LONG distance, PLONG high, DWORD method) -> DWORD {
            return Record(Op(K::Seek))
                       ? INVALID_SET_FILE_POINTER
                       : RealFileSystem.SetFilePointer(file, distance, high, method);
        };
        api.WriteFile = [](HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written,
                           LPOVERLAPPED overlapped) -> BOOL {
            FileOp op = Op(K::Write);
            op.size = size;
            if (size <= FileOp::SmallWrite) {
                op.bytes.assign(static_cast<const char*>(buffer), size);
            }
            return Record(op) ? FALSE
                              : RealFileSystem.WriteFile(file, buffer, size, written, overlapped);
        };
        api.FlushFileBuffers = [](HANDLE file) -> BOOL {
            return Record(Op(K::Flush)) ? FALSE : RealFileSystem.FlushFileBuffers(file);
        };
        api.SetEndOfFile = [](HANDLE file) -> BOOL {
            return Record(Op(K::Truncate)) ? FALSE : RealFileSystem.SetEndOfFile(file);
        };
        api.CloseHandle = [](HANDLE handle) -> BOOL {
            Record(Op(K::Close));
            return RealFileSystem.CloseHandle(handle);
        };
        api.MoveFileW = [](LPCWSTR from, LPCWSTR to) -> BOOL {
            FileOp op = Op(K::Move, from);
            op.newPath = to;
            return Record(op) ? FALSE : RealFileSystem.MoveFileW(from, to);
        };
        api.DeleteFileW = [](LPCWSTR path) -> BOOL {
            return Record(Op(K::Delete, path)) ? FALSE : RealFileSystem.DeleteFileW(path);
        };
        api.RemoveDirectoryW = [](LPCWSTR path) -> BOOL {
            return Record(Op(K::RemoveFolder, path)) ? FALSE
                                                     : RealFileSystem.RemoveDirectoryW(path);
        };
        api.FindFirstFileW = [](LPCWSTR pattern, LPWIN32_FIND_DATAW data) -> HANDLE {
            return Record(Op(K::ListFirst, pattern)) ? INVALID_HANDLE_VALUE
                                                     : RealFileSystem.FindFirstFileW(pattern, data);
        };
        api.FindNextFileW = [](HANDLE listing, LPWIN32_FIND_DATAW data) -> BOOL {
            return Record(Op(K::ListNext)) ? FALSE : RealFileSystem.FindNextFileW(listing, data);
        };
        api.FindClose = [](HANDLE listing) -> BOOL {
            Record(Op(K::ListClose));
            return RealFileSystem.FindClose(listing);
        };
        api.AllocateChunk = [](std::size_t size) -> void* {
            FileOp op = Op(K::Allocate);
            op.size = size;
            return Record(op) ? nullptr : RealFileSystem.AllocateChunk(size);
        };
        api.FreeChunk = [](void* chunk) {
            Record(Op(K::Free));
            RealFileSystem.FreeChunk(chunk);
        };
        return api;
    }

    FileSystemOverride restore_;
    std::vector<FileOp> ops_;
    std::function<bool(const FileOp&)> fail_;
    static inline FileSystemTrace* active_ = nullptr;
};
