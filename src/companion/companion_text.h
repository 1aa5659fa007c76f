// The companion's own texts: its boxes' caption, why items were not added, its usage.
#pragma once

inline constexpr const wchar_t* CompanionCaption = L"Shred with Ferrolet";

// Each reason is followed by the items it concerns.
inline constexpr const wchar_t* ElevationRefusedText =
    L"Ferrolet was not started: its request for administrator rights was refused. These items "
    L"were not added to its list:";
// %ld is the system's error code.
inline constexpr const wchar_t* NotStartedText =
    L"Ferrolet could not be started (error %ld). These items were not added to its list:";
inline constexpr const wchar_t* EndedEarlyText =
    L"Ferrolet ended before its window took these items, so they were not added to its list:";
inline constexpr const wchar_t* NotHandedText =
    L"These items could not be handed to the Ferrolet window being opened (error %ld), so they "
    L"were not added to its list:";
// Shown after the items when there are more than the box lists; %ld is how many more.
inline constexpr const wchar_t* MoreItemsText = L"... and %ld more";
inline constexpr int ItemsListed = 10;

inline constexpr const wchar_t* UsageText =
    L"FerroletMenu.exe --install puts \"Shred with Ferrolet\" in Explorer's menu of files and "
    L"folders, and Ferrolet in Send To, for you alone.\n\nFerroletMenu.exe --remove takes both "
    L"away again.";
inline constexpr const wchar_t* FerroletMissingText =
    L"Ferrolet.exe was not found beside FerroletMenu.exe, so nothing was installed.";
// %ld is the system's error code.
inline constexpr const wchar_t* InstallFailedText =
    L"\"Shred with Ferrolet\" could not be installed (error %ld); nothing of it was left.";
inline constexpr const wchar_t* RemoveFailedText =
    L"\"Shred with Ferrolet\" could not be removed completely (error %ld).";
