// An experiment through the file-system table: every overwrite chunk comes from one buffer that
// is allocated and touched once, to measure what a fresh heap buffer per chunk costs.
#pragma once

// From now on AllocateChunk hands out the same already-touched buffer of OverwriteChunkSize bytes
// and FreeChunk keeps it. False when the buffer cannot be allocated.
bool UseOneReusedChunk();
