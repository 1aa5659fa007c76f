// Removing what a free-space wipe left behind when the power went.
#pragma once

#include <string>
#include <vector>

// The fill folder at root (a volume's root, or any folder in a test), removed by the rule of
// RemoveLeftoverFillFolders; when a folder of that name is there but is not a fill folder, its
// path is added to leftAlone and nothing is touched.
void RemoveLeftoverFillFolder(const std::wstring& root, std::vector<std::wstring>& leftAlone);
