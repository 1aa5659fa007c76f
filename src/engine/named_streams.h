// The named data streams a file may carry besides its main one (on NTFS every downloaded file
// has one, holding the address it came from).
#pragma once

#include "engine/overwrite_methods.h"

// Overwrites every named data stream of the open file with the method's passes, in the order
// the platform lists them, each opened relative to the file's handle. True when each was written
// in full, and when the platform lists none or refuses to list them (then nothing at all is
// done, so such a file is shredded with exactly the operations and draws of a file without
// streams). Random passes draw from the thread's generator, before the main stream's draws.
bool OverwriteNamedStreams(HANDLE file, ShredMethod method);
