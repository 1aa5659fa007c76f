// The file shredder as the folder walk calls it, with the holding folder already located.
#pragma once

#include "engine/item_checks.h"
#include "engine/overwrite_methods.h"

#include <string>

// ShredFile for a usable full path whose holding folder is at folder.
int ShredFileInFolder(std::wstring& path, ShredMethod method, const ItemLocation& folder);
