// NTFS compression, turned off before a file is overwritten.
#pragma once

#include <windows.h>

// For a compressed file (attributes, as read before any reset), stores the data stream open for
// reading and writing as stream uncompressed, through that handle. A compressed stream keeps a
// compression unit of zeros as a hole and a compressible pass in fewer clusters, so a pass would
// not land on every cluster the stream holds. True when the stream is now stored plainly, or the
// file was not compressed (then nothing is asked).
bool StoreUncompressed(HANDLE stream, DWORD attributes);
