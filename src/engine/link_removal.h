// Links inside a chosen folder: removed as links, never followed.
#pragma once

#include <windows.h>

#include <string>

// Whether a reparse tag marks a link to another name (symbolic link, junction, mount point),
// as opposed to data kept elsewhere (cloud placeholder, deduplicated or compressed file).
bool IsNameSurrogate(DWORD reparseTag);

// Opens the entry name of the open folder as itself and, when it still is a name-surrogate
// reparse point, deletes it through that handle: the link goes, its target is never touched.
// True when it is gone.
bool RemoveLink(HANDLE folder, const std::wstring& name);
