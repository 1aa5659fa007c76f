// The file shredder as the folder walk calls it, with the holding folder already identified.
#pragma once

#include "engine/overwrite_methods.h"

#include <string>

// ShredFile for a usable full path whose folder has the final path folderFinalPath.
int ShredFileInFolder(std::wstring& path, ShredMethod method, const std::wstring& folderFinalPath);
