// The named data streams a file may carry besides its main one (on NTFS every downloaded file
// has one, holding the address it came from).
#pragma once

#include "engine/overwrite_methods.h"

// Overwrites every named data stream of the open file with the method's passes, in the order
// the platform lists them, each opened relative to the file's handle; a stream of a compressed
// file is first stored uncompressed. True when each was written in full, and when the platform
// answers that the volume keeps no streams (then nothing at all is done, so such a file is
// shredded with exactly the operations and draws of a file without streams). Any other failure
// to list them is false, before anything is written: freeing a stream that was never overwritten
// would leave its data on the disk. Random passes draw from the thread's generator, before the
// main stream's draws.
bool OverwriteNamedStreams(HANDLE file, DWORD attributes, ShredMethod method);
