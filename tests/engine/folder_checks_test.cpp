// Walking folders: listings of any length in 64 KiB reads, a folder swapped for a link after it
// was listed, and renames inside a walked folder where the file system accepts only the rename
// with the folder's handle as root.
#include "engine/folder_shredder.h"
#include "support/file_system_trace.h"
#include "support/fresh_thread.h"
#include "support/linux_side.h"
#include "support/progress_recorder.h"
#include "support/reference_random.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

using K = FileOp::Kind;

int ShredFolderAt(std::wstring& path) {
    return ShredFolder(path, OverwriteZeros, NoProgress());
}

// Records the buffer size of every folder listing call.
struct ListingSizes {
    static inline std::vector<DWORD> sizes;
    static inline FileSystemApi below;

    static BOOL WINAPI Query(HANDLE item, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
        if (kind == FileIdBothDirectoryRestartInfo || kind == FileIdBothDirectoryInfo) {
            sizes.push_back(size);
        }
        return below.GetFileInformationByHandleEx(item, kind, info, size);
    }

    ListingSizes() {
        below = FileSystem;
        sizes.clear();
        FileSystem.GetFileInformationByHandleEx = Query;
    }
};

TEST(FolderListing, FolderNeedingSeveralReadsOf64KiBIsCountedAndShreddedWhole) {
    TempFolder root;
    const std::wstring chosen = root / L"wide";
    MakeTestFolder(chosen);
    // About 300 bytes of listing each: 600 of them fill 64 KiB nearly three times.
    constexpr int files = 600;
    for (int i = 0; i < files; ++i) {
        WriteTestFile(chosen + L"\\" + std::wstring(100, L'n') + std::to_wstring(i), "");
    }
    {
        FileSystemTrace trace;
        ListingSizes sizes;
        EXPECT_EQ(files + 1, CountShredItems(chosen));
        ASSERT_FALSE(ListingSizes::sizes.empty());
        for (DWORD size : ListingSizes::sizes) {
            EXPECT_EQ(64u * 1024u, size);
        }
        EXPECT_GE(trace.Count(K::ListNext), 2u) << "more than one read held entries";
        EXPECT_LE(trace.Count(K::ListNext), 4u) << "each read filled its 64 KiB";
    }
    std::wstring path = chosen;
    EXPECT_EQ(ShredFolderRemoved, ShredFolderAt(path));
    EXPECT_FALSE(PathExists(chosen));
    EXPECT_TRUE(ListedNames(root.Path()).empty());
}

// A folder that another user swaps for a link to somewhere else after its parent was listed and
// before the walk opens it: the walk must not go through that link. Under Wine a Linux link opens
// as its target, so this tells the swap only by what the handle turns out to be.
struct SwapBeforeOpen {
    static inline std::wstring folder; // the folder whose entry is swapped
    static inline std::wstring name;
    static inline std::wstring movedTo;
    static inline std::wstring target;
    static inline FileSystemApi below;

    static HANDLE Open(HANDLE root, LPCWSTR entry, DWORD access, DWORD share, DWORD options) {
        if (!folder.empty() && name == entry) {
            const std::wstring swapped = folder + L"\\" + name;
            EXPECT_TRUE(MoveFileW(swapped.c_str(), movedTo.c_str()));
            EXPECT_TRUE(MakeLinuxSymlink(target, folder, name));
            folder.clear();
        }
        return below.OpenRelative(root, entry, access, share, options);
    }

    SwapBeforeOpen(const std::wstring& inFolder, const std::wstring& entry,
                   const std::wstring& moveTo, const std::wstring& linkTarget) {
        folder = inFolder;
        name = entry;
        movedTo = moveTo;
        target = linkTarget;
        below = FileSystem;
        FileSystem.OpenRelative = Open;
    }
    ~SwapBeforeOpen() { FileSystem = below; }
};

TEST(SwappedForALink, FolderSwappedAfterListingIsNeitherCountedIntoNorWalked) {
    TempFolder guard;
    WriteTestFile(guard / L"guarded.txt", "must survive");
    MakeTestFolder(guard / L"inner");
    WriteTestFile(guard / L"inner\\deeper.txt", "must survive too");
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    MakeTestFolder(chosen + L"\\sub");
    WriteTestFile(chosen + L"\\sub\\own.txt", "own");
    OnFreshThread([&] {
        {
            SwapBeforeOpen swap(chosen, L"sub", root / L"counted", guard.Path());
            EXPECT_EQ(2, CountShredItems(chosen)) << "the link is one item";
        }
        ASSERT_TRUE(RemoveLinuxSymlink(chosen, L"sub"));
        ASSERT_TRUE(MoveFileW((root / L"counted").c_str(), (chosen + L"\\sub").c_str()));

        std::wstring path = chosen;
        {
            SwapBeforeOpen swap(chosen, L"sub", root / L"moved", guard.Path());
            EXPECT_EQ(ShredFolderIncomplete, ShredFolder(path, OverwriteZeros, NoProgress()));
        }
        EXPECT_EQ(std::vector<std::wstring>{L"sub"}, ListedNames(path));
        EXPECT_TRUE(RemoveLinuxSymlink(path, L"sub")) << "the link stays a link";
    });
    EXPECT_EQ((std::vector<std::wstring>{L"guarded.txt", L"inner"}), ListedNames(guard.Path()));
    EXPECT_EQ("must survive", ReadTestFile(guard / L"guarded.txt"));
    EXPECT_EQ("must survive too", ReadTestFile(guard / L"inner\\deeper.txt"));
    EXPECT_EQ("own", ReadTestFile(root / L"moved\\own.txt")) << "the moved folder was not followed";
}

// Windows' rule for a rename given the folder's handle as root: the rename opens that folder for
// writing with sharing of reading and writing only, so it fails with a sharing violation while
// any handle to the folder holds delete access. Wine refuses the rename in place (so every rename
// here takes the rooted form) but applies no such rule: this stand-in applies it.
struct RootedRenameSharing {
    static inline std::map<HANDLE, DWORD> access; // every open handle and the access it holds
    static inline int refused = 0;
    static inline FileSystemApi below;

    static HANDLE Opened(HANDLE handle, DWORD held) {
        if (handle != INVALID_HANDLE_VALUE && handle != nullptr) {
            access[handle] = held;
        }
        return handle;
    }
    static HANDLE OpenRelative(HANDLE root, LPCWSTR name, DWORD held, DWORD share, DWORD options) {
        return Opened(below.OpenRelative(root, name, held, share, options), held);
    }
    static HANDLE WINAPI Create(LPCWSTR path, DWORD held, DWORD share, LPSECURITY_ATTRIBUTES sa,
                                DWORD disposition, DWORD flags, HANDLE templateFile) {
        return Opened(below.CreateFileW(path, held, share, sa, disposition, flags, templateFile),
                      held);
    }
    static BOOL WINAPI Close(HANDLE handle) {
        access.erase(handle);
        return below.CloseHandle(handle);
    }
    static BOOL Rename(HANDLE item, HANDLE folder, LPCWSTR name) {
        LONGLONG folderIndex = 0;
        EXPECT_TRUE(RealFileSystem.GetFileIndex(folder, &folderIndex));
        for (const auto& [handle, held] : access) {
            LONGLONG index = 0;
            if ((held & DELETE) != 0 && RealFileSystem.GetFileIndex(handle, &index) &&
                index == folderIndex) {
                ++refused;
                SetLastError(ERROR_SHARING_VIOLATION);
                return FALSE;
            }
        }
        return below.RenameByHandle(item, folder, name);
    }

    RootedRenameSharing() {
        below = FileSystem;
        access.clear();
        refused = 0;
        FileSystem.OpenRelative = OpenRelative;
        FileSystem.CreateFileW = Create;
        FileSystem.CloseHandle = Close;
        FileSystem.RenameByHandle = Rename;
    }
};

TEST(RootedRename, InsideAWalkedFolderEveryItemIsStillRenamedAndRemoved) {
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    WriteTestFile(chosen + L"\\a.txt", "first");
    MakeTestFolder(chosen + L"\\sub");
    WriteTestFile(chosen + L"\\sub\\b.txt", "second");
    MakeTestFolder(chosen + L"\\sub\\deeper");
    std::wstring path = chosen;
    {
        FileSystemTrace trace;
        RootedRenameSharing sharing;
        EXPECT_EQ(ShredFolderRemoved, ShredFolderAt(path));
        EXPECT_EQ(0, RootedRenameSharing::refused);
        EXPECT_EQ(50u, trace.Count(K::Move)) << "ten renames of each of five items";
        EXPECT_EQ(2u, trace.Count(K::Delete));
        EXPECT_EQ(3u, trace.Count(K::RemoveFolder));
    }
    EXPECT_NE(chosen, path) << "the chosen folder's own renames went through";
    EXPECT_FALSE(PathExists(chosen));
    EXPECT_TRUE(ListedNames(root.Path()).empty());
}

// Swaps the folder named name for a new, empty one just before the walk opens it to remove it.
struct SwapBeforeRemoval {
    static inline std::wstring folder;
    static inline std::wstring name;
    static inline FileSystemApi below;

    static HANDLE Open(HANDLE root, LPCWSTR entry, DWORD access, DWORD share, DWORD options) {
        if (!name.empty() && name == entry && (access & DELETE) != 0) {
            EXPECT_TRUE(MoveFileW((folder + L"\\" + name).c_str(),
                                  (folder + L"\\" + name + L".walked").c_str()));
            EXPECT_TRUE(CreateDirectoryW((folder + L"\\" + name).c_str(), nullptr));
            name.clear();
        }
        return below.OpenRelative(root, entry, access, share, options);
    }

    SwapBeforeRemoval(const std::wstring& inFolder, const std::wstring& entry) {
        folder = inFolder;
        name = entry;
        below = FileSystem;
        FileSystem.OpenRelative = Open;
    }
};

TEST(RootedRename, FolderSwappedBeforeItsRemovalIsNeitherRenamedNorRemoved) {
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    MakeTestFolder(chosen + L"\\sub");
    WriteTestFile(chosen + L"\\sub\\a.txt", "walked");
    std::wstring path = chosen;
    OnFreshThread([&] {
        FileSystemTrace trace;
        SwapBeforeRemoval swap(chosen, L"sub");
        EXPECT_EQ(ShredFolderIncomplete, ShredFolderAt(path));
    });
    // The file's 130 draws, the 130 of the folder that stayed, then the chosen folder's own.
    EXPECT_EQ(root / ReferenceName(ReferenceDraws(3 * DrawsPerItem),
                                   NameDraw(2, RenamesPerItem - 1), false),
              path);
    std::vector<std::wstring> left = ListedNames(path);
    std::sort(left.begin(), left.end());
    EXPECT_EQ((std::vector<std::wstring>{L"sub", L"sub.walked"}), left)
        << "the folder put in its place stays, and so does the walked one, held elsewhere";
    EXPECT_TRUE(ListedNames(path + L"\\sub.walked").empty());
}

} // namespace
