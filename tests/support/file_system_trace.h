// Recording every operation the engine makes through its file-system table, in order, and
// failing chosen ones on demand. Header only, so that only test programs that link the engine
// pull it in. Operations on handles are recorded with the path the handle was opened under (the
// folder's path joined with the relative name), following the handle's successful renames.
#pragma once

#include "engine/file_system.h"
#include "support/file_system_override.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct FileOp {
    enum class Kind {
        SetAttributes, // FileBasicInfo through a handle
        Open,          // by path (CreateFileW) or relative to a handle (OpenRelative)
        Name,          // GetItemName
        Index,         // GetFileIndex
        Locate,        // GetFileInformationByHandleEx, other classes
        ListFirst,     // FileIdBothDirectoryRestartInfo
        ListNext,      // FileIdBothDirectoryInfo
        ListStreams,   // FileStreamInfo
        ReadTag,       // FileAttributeTagInfo
        SizeQuery,
        Seek,
        Write,
        Flush,
        Truncate,
        Close,
        Move,         // RenameByHandle
        Delete,       // DeleteByHandle of a file or link
        RemoveFolder, // DeleteByHandle of a folder
        Allocate,
        Free,
    };
    Kind kind;
    std::size_t size = 0;    // Write: bytes asked for; Allocate: bytes
    std::string bytes;       // Write: the bytes, when at most SmallWrite of them
    std::wstring path;       // the path passed, or the path of the handle acted on; ListFirst: its
                             // folder's path followed by "\*"
    std::wstring newPath;    // Move: the new path
    bool byPath = false;     // a call that takes a path (CreateFileW)
    HANDLE handle = nullptr; // the handle acted on; Open: the one made (nullptr when failed)
    bool failed = false;     // made to fail by the trace
    static constexpr std::size_t SmallWrite = 4096;
};

// While alive, every entry of FileSystem records its call in Ops() and then calls the real
// operation, unless FailWhen's predicate says this call fails (it sees the op about to be
// recorded); a failed call returns the operation's failure value with ERROR_WRITE_FAULT, or
// nullptr for Allocate. Restores the table when it goes out of scope. Entries a test swaps in
// afterwards may call the recording ones (saved from FileSystem) to pass through.
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

    // The path a handle was opened under, as recorded; empty for one the trace did not see.
    static std::wstring PathOf(HANDLE handle) {
        const auto found = active_->paths_.find(handle);
        return found == active_->paths_.end() ? std::wstring() : found->second;
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
    static FileOp Op(FileOp::Kind kind, HANDLE handle = nullptr) {
        FileOp op{};
        op.kind = kind;
        op.handle = handle;
        if (handle != nullptr) {
            op.path = PathOf(handle);
        }
        return op;
    }
    static std::wstring Joined(const std::wstring& folder, const wchar_t* name) {
        if (name[0] == L'\0') {
            return folder;
        }
        if (name[0] == L':' || (!folder.empty() && folder.back() == L'\\')) {
            return folder + name;
        }
        return folder + L"\\" + name;
    }
    static void Opened(HANDLE handle, const std::wstring& path) {
        if (handle != INVALID_HANDLE_VALUE && handle != nullptr) {
            active_->paths_[handle] = path;
            active_->ops_.back().handle = handle;
        }
    }
    static bool IsFolder(HANDLE handle) {
        BY_HANDLE_FILE_INFORMATION info{};
        return GetFileInformationByHandle(handle, &info) &&
               (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    static FileOp::Kind KindOfQuery(FILE_INFO_BY_HANDLE_CLASS kind) {
        using K = FileOp::Kind;
        switch (kind) {
        case FileIdBothDirectoryRestartInfo:
            return K::ListFirst;
        case FileIdBothDirectoryInfo:
            return K::ListNext;
        case FileStreamInfo:
            return K::ListStreams;
        case FileAttributeTagInfo:
            return K::ReadTag;
        default:
            return K::Locate;
        }
    }

    static FileSystemApi Recording() {
        using K = FileOp::Kind;
        FileSystemApi api = RealFileSystem;
        api.CreateFileW = [](LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                             DWORD disposition, DWORD flags, HANDLE templateFile) -> HANDLE {
            FileOp op = Op(K::Open);
            op.path = path;
            op.byPath = true;
            if (Record(op)) {
                return INVALID_HANDLE_VALUE;
            }
            const HANDLE handle = RealFileSystem.CreateFileW(path, access, share, sa, disposition,
                                                             flags, templateFile);
            Opened(handle, path);
            return handle;
        };
        api.OpenRelative = [](HANDLE root, LPCWSTR name, DWORD access, DWORD share,
                              DWORD options) -> HANDLE {
            FileOp op = Op(K::Open);
            const std::wstring path = Joined(PathOf(root), name);
            op.path = path;
            if (Record(op)) {
                return INVALID_HANDLE_VALUE;
            }
            const HANDLE handle = RealFileSystem.OpenRelative(root, name, access, share, options);
            const DWORD error = GetLastError();
            Opened(handle, path);
            SetLastError(error);
            return handle;
        };
        api.GetItemName = [](HANDLE file, std::wstring& name) -> BOOL {
            return Record(Op(K::Name, file)) ? FALSE : RealFileSystem.GetItemName(file, name);
        };
        api.GetFileInformationByHandleEx = [](HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind,
                                              LPVOID info, DWORD size) -> BOOL {
            FileOp op = Op(KindOfQuery(kind), file);
            if (op.kind == K::ListFirst) {
                op.path = Joined(op.path, L"*");
            }
            return Record(op) ? FALSE
                              : RealFileSystem.GetFileInformationByHandleEx(file, kind, info, size);
        };
        api.GetFileIndex = [](HANDLE file, LONGLONG* index) -> BOOL {
            return Record(Op(K::Index, file)) ? FALSE : RealFileSystem.GetFileIndex(file, index);
        };
        api.SetFileInformationByHandle = [](HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind,
                                            LPVOID info, DWORD size) -> BOOL {
            return Record(Op(K::SetAttributes, file))
                       ? FALSE
                       : RealFileSystem.SetFileInformationByHandle(file, kind, info, size);
        };
        api.RenameByHandle = [](HANDLE item, HANDLE folder, LPCWSTR name) -> BOOL {
            FileOp op = Op(K::Move, item);
            op.newPath = op.path.substr(0, op.path.rfind(L'\\') + 1) + name;
            if (Record(op) || !RealFileSystem.RenameByHandle(item, folder, name)) {
                return FALSE;
            }
            active_->paths_[item] = op.newPath;
            return TRUE;
        };
        api.DeleteByHandle = [](HANDLE item) -> BOOL {
            return Record(Op(IsFolder(item) ? K::RemoveFolder : K::Delete, item))
                       ? FALSE
                       : RealFileSystem.DeleteByHandle(item);
        };
        api.GetFileSizeEx = [](HANDLE file, PLARGE_INTEGER size) -> BOOL {
            return Record(Op(K::SizeQuery, file)) ? FALSE
                                                  : RealFileSystem.GetFileSizeEx(file, size);
        };
        api.SetFilePointer = [](HANDLE file, LONG distance, PLONG high, DWORD method) -> DWORD {
            return Record(Op(K::Seek, file))
                       ? INVALID_SET_FILE_POINTER
                       : RealFileSystem.SetFilePointer(file, distance, high, method);
        };
        api.WriteFile = [](HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written,
                           LPOVERLAPPED overlapped) -> BOOL {
            FileOp op = Op(K::Write, file);
            op.size = size;
            if (size <= FileOp::SmallWrite) {
                op.bytes.assign(static_cast<const char*>(buffer), size);
            }
            return Record(op) ? FALSE
                              : RealFileSystem.WriteFile(file, buffer, size, written, overlapped);
        };
        api.FlushFileBuffers = [](HANDLE file) -> BOOL {
            return Record(Op(K::Flush, file)) ? FALSE : RealFileSystem.FlushFileBuffers(file);
        };
        api.SetEndOfFile = [](HANDLE file) -> BOOL {
            return Record(Op(K::Truncate, file)) ? FALSE : RealFileSystem.SetEndOfFile(file);
        };
        api.CloseHandle = [](HANDLE handle) -> BOOL {
            Record(Op(K::Close, handle));
            active_->paths_.erase(handle);
            return RealFileSystem.CloseHandle(handle);
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
    std::map<HANDLE, std::wstring> paths_;
    std::function<bool(const FileOp&)> fail_;
    static inline FileSystemTrace* active_ = nullptr;
};

// The one call that takes a path opens the folder holding the chosen item, before anything else.
inline void ExpectOnlyTheParentFolderByPath(const FileSystemTrace& trace,
                                            const std::wstring& parent) {
    ASSERT_FALSE(trace.Ops().empty());
    EXPECT_TRUE(trace.Ops()[0].byPath);
    EXPECT_EQ(Extended(parent), trace.Ops()[0].path);
    for (std::size_t i = 1; i < trace.Ops().size(); ++i) {
        EXPECT_FALSE(trace.Ops()[i].byPath) << "a path-taking call at op " << i;
    }
}
