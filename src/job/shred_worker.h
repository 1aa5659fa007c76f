// The job's worker thread.
#pragma once

#include <windows.h>

// Thread routine; its argument is the progress dialog. Shreds the rows of CurrentJob's list top
// to bottom with the checked method, reporting names and steps to the dialog, leaves in the list
// exactly the rows whose item still exists, and then tells the dialog that it is done
// (WM_SHRED_WORKER_DONE), which ends the dialog.
DWORD WINAPI ShredWorker(LPVOID progressDialog);
