// NTFS compression, turned off before a stream is overwritten.
#pragma once

#include <windows.h>

// Asks the data stream open for reading and writing as stream whether it is stored compressed
// (each stream has its own state, whatever the file's attributes say), and if so stores it
// uncompressed through that handle. A compressed stream keeps a compression unit of zeros as a
// hole and a compressible pass in fewer clusters, so a pass would not land on every cluster the
// stream holds. True when the stream is now stored plainly: also where the volume knows no
// compression (FAT and exFAT answer invalid function, Wine not supported). False on any other
// failure to ask or to turn it off.
bool StoreUncompressed(HANDLE stream);
