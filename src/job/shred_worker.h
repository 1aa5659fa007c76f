// The job's worker thread.
#pragma once

#include <windows.h>

// Thread routine; its argument is the progress dialog. Shreds the main window's rows top to
// bottom with the checked method, reporting names and steps to the dialog, leaves in the list
// exactly the rows whose item still exists, and ends the dialog.
DWORD WINAPI ShredWorker(LPVOID progressDialog);
