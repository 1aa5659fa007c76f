// The job's worker thread.
#pragma once

#include <windows.h>

// Thread routine; its argument is the progress dialog. Shreds the rows of CurrentJob top to
// bottom with its method, each only if it is still the item the user chose, then wipes the
// free space of each free-space row, publishing names, steps and bytes to CurrentJob.progress and
// stopping once it asks to; records for each row what the engine reported, keeps the system awake
// meanwhile, and then tells the dialog that it is done (WM_SHRED_WORKER_DONE), which ends the
// dialog.
DWORD WINAPI ShredWorker(LPVOID progressDialog);
