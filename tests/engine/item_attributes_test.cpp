// Attributes given back to an item that stays: every one an application can set.
#include "engine/item_attributes.h"
#include "support/file_system_override.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

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

} // namespace
