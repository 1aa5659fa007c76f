// The main window's texts about a drive's free space: its row, the flash warning, drives that
// take no row, and fill folders left at start-up.
#pragma once

// The Path text of the free-space row of a drive; %ls is its root ("D:\").
inline constexpr const wchar_t* FreeSpacePathFormat =
    L"%ls (only its free space is overwritten: nothing stored on it is touched)";

inline constexpr const wchar_t* FlashStorageCaption = L"Free space on flash storage";
// %ls: the drive's root, twice.
inline constexpr const wchar_t* FlashStorageFormat =
    L"%ls may be flash storage (an SSD, a USB stick or a memory card), or the drive does not say "
    L"what it is.\n\n"
    L"On flash storage, overwriting the free space wears the drive, and it cannot reach the cells "
    L"the drive has remapped: old data may stay there. Near the end of the wipe, other programs "
    L"may fail to write to the drive for a moment.\n\n"
    L"List the free space of %ls all the same?";

// In the "Items not added" box, after any items that could not be opened.
inline constexpr const wchar_t* NotLocalDrivesIntro =
    L"Only the free space of a local drive (fixed or removable) can be wiped, so these drives "
    L"were not added:";
// %ls: the root, then why it is not local.
inline constexpr const wchar_t* NotLocalDriveFormat = L"%ls (%ls)";
inline constexpr const wchar_t* NetworkDriveReason = L"a network drive";
inline constexpr const wchar_t* OpticalDriveReason = L"a CD or DVD drive";
inline constexpr const wchar_t* RamDiskReason = L"a RAM disk";
inline constexpr const wchar_t* NoSuchDriveReason = L"no such drive";
inline constexpr const wchar_t* UnknownDriveReason = L"a drive of unknown kind";

inline constexpr const wchar_t* FillFoldersLeftCaption = L"Fill folders left alone";
inline constexpr const wchar_t* FillFoldersLeftIntro =
    L"A wipe of free space that was cut short (a power cut) leaves a folder of its own at the "
    L"drive's root, which is removed at the next start. These folders have its name but hold "
    L"something else, so they were left alone:";
inline constexpr const wchar_t* FillFoldersLeftAdvice =
    L"Look inside; if you do not need what they hold, delete them yourself.";
