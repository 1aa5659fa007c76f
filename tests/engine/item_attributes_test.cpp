// Attributes given back to an item that stays: every one an application can set, to a file whose
// data could not be opened and to a folder that could not be emptied.
#include "engine/file_shredder.h"
#include "engine/folder_shredder.h"
#include "engine/item_attributes.h"
#include "support/file_system_override.h"
#include "support/file_system_trace.h"
#include "support/linux_side.h"
#include "support/progress_recorder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

using K = FileOp::Kind;

constexpr DWORD NoScrubData = 0x20000;
constexpr DWORD RecallOnDataAccess = 0x400000;
constexpr DWORD Pinned = 0x80000;
constexpr DWORD Unpinned = 0x100000;
constexpr DWORD ClassicEight = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                               FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                               FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_TEMPORARY |
                               FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Records the attributes of every FILE_BASIC_INFO set, and refuses the ones beyond the classic
// eight when told to, as a file system that knows no newer attribute might.
struct RecordedAttributes {
    static inline std::vector<DWORD> set;
    static inline bool refuseNewer = false;

    static BOOL WINAPI Set(HANDLE item, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
        if (kind == FileBasicInfo) {
            const DWORD attributes = static_cast<FILE_BASIC_INFO*>(info)->FileAttributes;
            set.push_back(attributes);
            if (refuseNewer && (attributes & ~ClassicEight) != 0) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return FALSE;
            }
        }
        return RealFileSystem.SetFileInformationByHandle(item, kind, info, size);
    }

    explicit RecordedAttributes(bool refuse) {
        set.clear();
        refuseNewer = refuse;
        FileSystem.SetFileInformationByHandle = Set;
    }
};

TEST(AttributesReset, GivesBackEveryAttributeTheResetClearedNewerOnesIncluded) {
    TempFolder folder;
    const std::wstring path = folder / L"pinned.txt";
    WriteTestFile(path, "kept on this device");
    HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, 0,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    const DWORD settable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                           FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                           NoScrubData | Pinned;
    // What the system keeps for itself is never asked for.
    const DWORD original =
        settable | FILE_ATTRIBUTE_SPARSE_FILE | FILE_ATTRIBUTE_COMPRESSED | RecallOnDataAccess;
    {
        FileSystemOverride restore;
        RecordedAttributes recorded(false);
        { AttributesReset reset(file, original); }
        EXPECT_EQ((std::vector<DWORD>{FILE_ATTRIBUTE_NORMAL, settable}), RecordedAttributes::set);

        RecordedAttributes unpinned(false);
        { AttributesReset reset(file, FILE_ATTRIBUTE_SYSTEM | Unpinned); }
        EXPECT_EQ((std::vector<DWORD>{FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_SYSTEM | Unpinned}),
                  RecordedAttributes::set);

        RecordedAttributes removed(false);
        {
            AttributesReset reset(file, original);
            reset.ItemRemoved();
        }
        EXPECT_EQ(std::vector<DWORD>{FILE_ATTRIBUTE_NORMAL}, RecordedAttributes::set);

        RecordedAttributes refused(true);
        { AttributesReset reset(file, original); }
        EXPECT_EQ((std::vector<DWORD>{FILE_ATTRIBUTE_NORMAL, settable, settable & ClassicEight}),
                  RecordedAttributes::set)
            << "a file system that refuses a newer one gets the classic ones back";
    }
    CloseHandle(file);
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    EXPECT_EQ(kept, GetFileAttributesW(path.c_str()) & kept);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Sharing deletion but not writing lets the item's own open in and keeps its data open out, after
// the attributes were reset.
TEST(ItemsThatStay, FileWhoseDataCannotBeOpenedGetsItsAttributesBack) {
    TempFolder folder;
    const std::wstring original = folder / L"busy.txt";
    constexpr DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    WriteTestFile(original, "in use");
    ASSERT_TRUE(SetFileAttributesW(original.c_str(), kept));
    HANDLE holder = CreateFileW(original.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    std::wstring path = original;
    {
        FileSystemTrace trace;
        EXPECT_EQ(ShredFileOpenFailed, ShredFile(path, OverwriteDod3, NoProgress()));
        EXPECT_NE(0u, trace.Count(K::SetAttributes)) << "the attributes were reset";
        EXPECT_EQ(0u, trace.Count(K::Write) + trace.Count(K::Move) + trace.Count(K::Delete));
    }
    CloseHandle(holder);
    EXPECT_EQ(original, path);
    EXPECT_EQ(kept, GetFileAttributesW(original.c_str()) & kept);
    EXPECT_EQ("in use", ReadTestFile(original));
    SetFileAttributesW(original.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Wine ignores the attributes of folders: this shows the folders named chosen and inner as
// read-only, hidden and system, and records every attribute set on them, by folder.
struct GuardedFolders {
    static constexpr DWORD Guarded =
        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    static inline std::map<HANDLE, std::wstring> opened; // handle, the folder's first name
    static inline std::map<std::wstring, std::vector<DWORD>> set;
    static inline FileSystemApi below;

    static BOOL WINAPI Query(HANDLE item, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
        if (!below.GetFileInformationByHandleEx(item, kind, info, size)) {
            return FALSE;
        }
        const std::wstring path = FileSystemTrace::PathOf(item);
        for (const wchar_t* name : {L"chosen", L"inner"}) {
            if (kind == FileBasicInfo && path.ends_with(std::wstring(L"\\") + name)) {
                static_cast<FILE_BASIC_INFO*>(info)->FileAttributes |= Guarded;
                opened[item] = name;
            }
        }
        return TRUE;
    }
    static BOOL WINAPI Set(HANDLE item, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
        const auto found = opened.find(item);
        if (kind == FileBasicInfo && found != opened.end()) {
            set[found->second].push_back(static_cast<FILE_BASIC_INFO*>(info)->FileAttributes);
        }
        return below.SetFileInformationByHandle(item, kind, info, size);
    }
    static BOOL WINAPI Close(HANDLE item) {
        opened.erase(item);
        return below.CloseHandle(item);
    }

    GuardedFolders() {
        below = FileSystem;
        opened.clear();
        set.clear();
        FileSystem.GetFileInformationByHandleEx = Query;
        FileSystem.SetFileInformationByHandle = Set;
        FileSystem.CloseHandle = Close;
    }
};

TEST(ItemsThatStay, FolderThatStaysGetsItsAttributesBack) {
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    MakeTestFolder(chosen + L"\\inner");
    const std::wstring busy = chosen + L"\\inner\\busy.txt";
    WriteTestFile(busy, "in use");
    KernelHandle holder = HoldWithoutSharing(busy);
    std::wstring path = chosen;
    {
        FileSystemTrace trace;
        GuardedFolders folders;
        EXPECT_EQ(ShredFolderIncomplete, ShredFolder(path, OverwriteZeros, NoProgress()));
    }
    holder.Reset();
    for (const wchar_t* name : {L"chosen", L"inner"}) {
        const std::vector<DWORD>& set = GuardedFolders::set[name];
        ASSERT_GE(set.size(), 2u) << Utf8Of(name);
        EXPECT_EQ(GuardedFolders::Guarded, set.back()) << Utf8Of(name) << ": given back last";
        EXPECT_NE(set.end() - 1, std::find(set.begin(), set.end() - 1, FILE_ATTRIBUTE_NORMAL))
            << Utf8Of(name) << ": after the reset";
    }
}

} // namespace
