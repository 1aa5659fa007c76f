// The measurements of the benchmark program. Each prints one line per figure,
// "name=value ..." pairs that bench/run.sh reads; each returns the process exit code.
#pragma once

#include "engine/overwrite_methods.h"

#include <string>

// Random fill into a buffer of mebibytes: the scalar reference, each supported path and the path
// FillRandom takes, each the median of repeats after one warm-up fill.
int MeasureFill(std::size_t mebibytes, int repeats);

// One call of method on the file at path, opened as the file shredder opens it; with unbuffered,
// also past the system's cache (FILE_FLAG_NO_BUFFERING).
int MeasureOverwrite(ShredMethod method, int passes, const std::wstring& path, bool unbuffered);

// Makes the engine take its chunks from VirtualAlloc (page-aligned, as unbuffered writes need)
// instead of the heap.
void UsePageAlignedChunks();

// ShredFile with method on every file under folder; with profile, also the time each
// file-system operation took.
int MeasureShredFiles(ShredMethod method, const std::wstring& folder, bool profile);

// CountShredItems over folder: the median of repeats after one warm-up count.
int MeasureCount(const std::wstring& folder, int repeats);

// The whole job on one file: ShredFile with method on the file at path (overwrite, truncation,
// renames and removal), its time and the memory the process held at its peak.
int MeasureFileJob(ShredMethod method, const std::wstring& path);

// WipeFreeSpace with method on the volume at root: its time, the free space before and after and
// the memory the process held at its peak.
int MeasureWipe(ShredMethod method, const std::wstring& root);
