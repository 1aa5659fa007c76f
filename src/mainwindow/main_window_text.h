// The main window's own texts.
#pragma once

inline constexpr const wchar_t* MainWindowCaption = L"Ferrolet Free v1.0";
inline constexpr const wchar_t* NoFilesCaption = L"No files";
inline constexpr const wchar_t* NoFilesText = L"You haven't entered any files to delete!";
inline constexpr const wchar_t* ConfirmShredCaption = L"Are you sure you want to continue?";
inline constexpr const wchar_t* ConfirmShredText =
    L"Are you sure you want to permanently delete these files and directories?";
