// Writing the passes of one overwrite method over a file, the single place where passes are
// written.
#pragma once

#include "engine/pass_fill.h"

#include <windows.h>

#include <cstdint>
#include <span>

// Where each pass starts.
enum class PassStart {
    Here,    // one pass, from wherever the caller left the position (right after the open: 0)
    Rewound, // every pass moves back to byte 0 first
};

// Writes the passes in order over the open file: its whole size, or for a sparse file only its
// allocated ranges (RangesToOverwrite), each at its own offset, in ascending order. Chunks of at
// most OverwriteChunkSize, all from one buffer of at most one chunk that lives for the whole call;
// random bytes are the low bytes of one draw each, and their sequence runs on across chunks,
// ranges and passes. Each pass is flushed before the next begins. An empty file is only rewound.
// False, with nothing after it written, when the size cannot be known, the buffer cannot be
// allocated (then nothing is written), a rewind or a seek fails, a chunk is not written in full,
// a flush fails, or before the next chunk once the job asks to stop (StopRequested).
bool WritePasses(HANDLE file, std::span<const PassFill> passes, PassStart start);
