// What the fault suite checks after every job that it runs through the job's own harness (the
// real main window, progress dialog and worker): checksums of the guard tree, the files and
// folders that a job must leave exactly as they were, and a list and report that tell the truth.
#pragma once

#include "handles/find_handle.h"
#include "handles/kernel_handle.h"
#include "handles/window_handle.h"
#include "job/job_harness.h"
#include "mainwindow/app_globals.h"
#include "mainwindow/main_dialog.h"
#include "mainwindow/shred_list_view.h"
#include "support/linux_side.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace proof {

// The job as the user starts it: the real main window (modeless, so the test thread keeps
// control), its list, which records each row's identity when the row is added, its method buttons
// and "&Shred Now!", whose confirmation is answered Yes.
class WindowJob final : public JobHarness {
public:
    // start: what the window is started with, as from a command line.
    explicit WindowJob(const MainWindowStart* start = nullptr)
        : main_((AppInstance = GetModuleHandleW(nullptr),
                 CreateDialogParamW(AppInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialog,
                                    reinterpret_cast<LPARAM>(start)))) {
        EXPECT_TRUE(main_) << "main window not created, error " << GetLastError();
        SetMain(main_.Get());
    }

    HWND List() const { return GetDlgItem(Main(), IDC_SHRED_LIST); }
    void AddRow(const std::wstring& path) { ShredListView(Main()).Add({path}); }
    std::vector<std::wstring> RowPaths() const {
        std::vector<std::wstring> paths;
        for (const auto& row : ListRows(List(), ShredColumnPath + 1)) {
            paths.push_back(row[ShredColumnPath]);
        }
        return paths;
    }
    void CheckMethod(int id) { CheckRadioButton(Main(), IDC_METHOD_FIRST, IDC_METHOD_LAST, id); }
    void ShredNow(std::chrono::seconds limit = std::chrono::seconds(120)) {
        Run([this] { SendMessageW(GetDlgItem(Main(), IDC_SHRED_NOW), BM_CLICK, 0, 0); }, limit);
    }

private:
    WindowHandle main_;
};

// A job over items in root\work beside the guard tree that every such job must leave alone:
// root\above.txt, root\guard\kept.bin, root\work\beside.txt and root\work\beside\inner.txt.
class GuardedJob : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, job.Main());
        MakeTestTree(root.Path(), {{L"above.txt", "above the chosen items"},
                                   {L"guard\\", ""},
                                   {L"guard\\kept.bin", std::string(70000, 'g')},
                                   {L"work\\", ""},
                                   {L"work\\beside.txt", "beside the chosen items"},
                                   {L"work\\beside\\", ""},
                                   {L"work\\beside\\inner.txt", "inside a folder beside"}});
    }
    // Links, names that Win32 would alter and paths past MAX_PATH are beyond the Windows-side
    // clean-up; a link goes as itself.
    void TearDown() override { RunLinuxShell("rm -rf " + ShellQuote(UnixPathOf(root.Path()))); }

    TempFolder root;
    std::wstring work = root / L"work";
    WindowJob job;
};

// The \\?\ form of a full drive path, so that long paths and names that Win32 would alter
// (trailing dots and spaces) reach the file system as they are.
inline std::wstring Verbatim(const std::wstring& path) {
    return path.rfind(L"\\\\?\\", 0) == 0 ? path : L"\\\\?\\" + path;
}

inline std::wstring WithoutVerbatim(const std::wstring& path) {
    return path.rfind(L"\\\\?\\", 0) == 0 ? path.substr(4) : path;
}

inline bool ExistsVerbatim(const std::wstring& path) {
    return GetFileAttributesW(Verbatim(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void WriteFileVerbatim(const std::wstring& path, const std::string& contents) {
    KernelHandle file(CreateFileW(Verbatim(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.IsValid()) << "cannot create " << testing::PrintToString(path) << ", error "
                                << GetLastError();
    DWORD written = 0;
    ASSERT_TRUE(contents.empty() ||
                WriteFile(file.Get(), contents.data(), static_cast<DWORD>(contents.size()),
                          &written, nullptr));
    ASSERT_EQ(contents.size(), written);
}

inline void MakeFolderVerbatim(const std::wstring& path) {
    ASSERT_TRUE(CreateDirectoryW(Verbatim(path).c_str(), nullptr))
        << "cannot create " << testing::PrintToString(path) << ", error " << GetLastError();
}

// What a guard entry must keep: its kind, the attributes a shredder could change, its size and
// its contents' FNV-1a hash.
struct GuardEntry {
    bool folder = false;
    DWORD attributes = 0;
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const GuardEntry&) const = default;
};

inline void PrintTo(const GuardEntry& entry, std::ostream* out) {
    *out << (entry.folder ? "folder" : "file") << " attributes " << entry.attributes << " size "
         << entry.size << " hash " << entry.hash;
}

using GuardSnapshot = std::map<std::wstring, GuardEntry>;

inline std::uint64_t HashContents(const std::wstring& path, std::uint64_t& size) {
    std::uint64_t hash = 14695981039346656037ull;
    size = 0;
    KernelHandle file(CreateFileW(Verbatim(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid()) {
        return 0;
    }
    std::vector<unsigned char> chunk(1 << 16);
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) &&
           got > 0) {
        for (DWORD i = 0; i < got; ++i) {
            hash = (hash ^ chunk[i]) * 1099511628211ull;
        }
        size += got;
    }
    return hash;
}

inline bool SamePath(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Every entry under folder, except the excluded paths and what lies under them. Folder links
// (the reparse attribute) are recorded but not walked, so a link cannot pull in its target.
inline void SnapshotInto(const std::wstring& folder, const std::vector<std::wstring>& excluded,
                         GuardSnapshot& out) {
    WIN32_FIND_DATAW entry{};
    FindHandle find(FindFirstFileW(Verbatim(folder + L"\\*").c_str(), &entry));
    if (!find.IsValid()) {
        return;
    }
    do {
        const std::wstring_view name(entry.cFileName);
        if (name == L"." || name == L"..") {
            continue;
        }
        const std::wstring path = folder + L"\\" + entry.cFileName;
        bool skip = false;
        for (const std::wstring& other : excluded) {
            skip = skip || SamePath(path, WithoutVerbatim(other));
        }
        if (skip) {
            continue;
        }
        GuardEntry guard;
        guard.folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        guard.attributes =
            entry.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY);
        if (!guard.folder) {
            guard.hash = HashContents(path, guard.size);
        }
        out[path] = guard;
        if (guard.folder && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            SnapshotInto(path, excluded, out);
        }
    } while (FindNextFileW(find.Get(), &entry));
}

inline GuardSnapshot SnapshotGuard(const std::wstring& root,
                                   const std::vector<std::wstring>& excluded) {
    GuardSnapshot snapshot;
    SnapshotInto(root, excluded, snapshot);
    return snapshot;
}

// The paths of rows, as the list shows them, without the \\?\ form.
inline std::vector<std::wstring> Plain(const std::vector<std::wstring>& rows) {
    std::vector<std::wstring> plain;
    for (const std::wstring& row : rows) {
        plain.push_back(WithoutVerbatim(row));
    }
    return plain;
}

// Checks what every job must leave behind: every row that names a full path names an item on
// disk (but for the rows in missing, whose items were gone before the job), and, when rows
// remain, the one report, whose text the caller gives.
inline void ExpectListMatchesDisk(const WindowJob& job, const wchar_t* report = nullptr,
                                  const std::vector<std::wstring>& missing = {}) {
    const std::vector<std::wstring> rows = job.RowPaths();
    for (const std::wstring& row : rows) {
        bool wasMissing = false;
        for (const std::wstring& gone : missing) {
            wasMissing = wasMissing || SamePath(WithoutVerbatim(row), gone);
        }
        EXPECT_TRUE(wasMissing || ExistsVerbatim(WithoutVerbatim(row)) || row.empty() ||
                    row.find(L":\\") == std::wstring::npos)
            << "the list keeps a row whose item is gone: " << testing::PrintToString(row);
    }
    if (rows.empty()) {
        EXPECT_TRUE(job.reports.empty()) << "a report was shown although everything was shredded";
    } else {
        ASSERT_NE(nullptr, report) << "rows remain: give the report's text";
        ExpectOneReport(job, report);
    }
}

} // namespace proof
