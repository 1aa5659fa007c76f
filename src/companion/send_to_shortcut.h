// The shortcut in the user's Send To folder: "Send To > Ferrolet" hands the chosen items to the
// companion, which brings them into one Ferrolet window, as the menu entry does.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

inline constexpr const wchar_t* SendToShortcutName = L"Ferrolet.lnk";

// The shortcut's full path in the current user's Send To folder; empty when the folder is unknown.
std::optional<std::wstring> SendToShortcutPath();

// Makes (or remakes) the shortcut to the companion, with Ferrolet's icon; S_OK or the failure.
HRESULT MakeSendToShortcut(const std::wstring& companionPath, const std::wstring& ferroletPath);
// Deletes the shortcut; S_OK also when there was none.
HRESULT RemoveSendToShortcut();
