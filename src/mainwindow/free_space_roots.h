// A volume's root given as an item: it stands for the volume's free space, which only a local
// volume's row may hold, and flash storage only once the user has been told what a wipe does
// there.
#pragma once

#include <windows.h>

#include <string>

// GetDriveTypeW unless a test puts something else here.
using DriveTypeQuery = UINT(WINAPI*)(LPCWSTR root);
extern DriveTypeQuery QueryDriveType;

enum class SeekPenalty { Incurred, None, NoAnswer };
// Whether the disk under the volume at root reports a seek penalty (IOCTL_STORAGE_QUERY_PROPERTY,
// StorageDeviceSeekPenaltyProperty, on the volume); a test puts its own answer here.
using SeekPenaltyQuery = SeekPenalty (*)(const std::wstring& root);
extern SeekPenaltyQuery QuerySeekPenalty;

// "D:\" when path is a drive's root ("D:\", "\\?\D:\"), "\\server\share\" when it is a share's
// root; empty for any other path.
std::wstring VolumeRootOf(const std::wstring& path);

// A fixed or removable drive: the only kinds whose free space takes a row.
bool IsLocalVolume(const std::wstring& root);
// Why the volume at root is not local, for the user ("a network drive").
std::wstring NotLocalReason(const std::wstring& root);

// Removable, no seek penalty reported, or no answer to the question: overwriting may land on
// fresh flash cells rather than on the old ones.
bool MayBeFlashStorage(const std::wstring& root);
// Tells the user what a wipe does on flash storage and asks whether to list the row all the same
// (Yes).
bool ConfirmFlashFreeSpace(HWND owner, const std::wstring& root);

// Which volume the root is on: its volume GUID path where the system gives one, otherwise the
// root in upper case; two roots of one volume give the same key.
std::wstring VolumeKeyOf(const std::wstring& root);
