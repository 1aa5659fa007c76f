// Full paths as the engine accepts them, and their \\?\ form for every file-system call.
#pragma once

#include <string>

// True for a full path naming an item below a drive root or a share: "X:\a\b", "\\server\share\a"
// or their "\\?\" and "\\?\UNC\" forms, or below a volume's GUID path "\\?\Volume{GUID}\a".
// Refused: empty, relative ("a\b"), drive-relative ("C:a"), rooted on the current drive ("\a"),
// device paths, roots themselves, empty, "." or ".." components, a trailing backslash, forward
// slashes, wildcards, stream names (':') and control characters. Nothing is ever resolved against
// the current drive or folder.
bool IsUsableFullPath(const std::wstring& path);

// The "\\?\" form of a usable full path, so that no length limit applies and names ending in a
// dot or a space are taken as they are.
std::wstring ExtendedPath(const std::wstring& path);

// The "\\?\" form of the folder that holds the item at a usable full path; it ends in a backslash
// only when that folder is a drive or share root.
std::wstring ParentFolderPath(const std::wstring& path);

// The path up to and including its last backslash.
std::wstring DirectoryPart(const std::wstring& path);

// The part after the last backslash.
std::wstring LastComponent(const std::wstring& path);

// path + "\" + name, with no doubled backslash after a root such as "\\?\C:\".
std::wstring JoinPath(const std::wstring& path, const std::wstring& name);
