// Where the engine's time goes: timing wrappers around every entry of the file-system table.
#pragma once

// Swaps every entry of FileSystem for a wrapper that counts calls and time, until Stop.
void StartFileSystemProfile();

// Puts the real operations back and prints one line per operation that was called, per item
// of the items the profiled work handled.
void StopFileSystemProfile(int items);
