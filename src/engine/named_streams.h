// The named data streams a file may carry besides its main one (on NTFS every downloaded file
// has one, holding the address it came from), and a folder beside its listing.
#pragma once

#include "engine/overwrite_methods.h"

// Overwrites every named data stream of the open file or folder with the method's passes, in the
// order the platform lists them, each opened relative to the item's handle and first stored
// uncompressed where it is compressed. True when each was written in full, and when the platform
// answers that the volume keeps no streams (then nothing at all is done, so such an item is
// shredded with exactly the operations and draws of one without streams). Any other failure to
// list them is false, before anything is written: freeing a stream that was never overwritten
// would leave its data on the disk. Random passes draw from the thread's generator, before a
// file's main stream's draws.
bool OverwriteNamedStreams(HANDLE item, ShredMethod method);
