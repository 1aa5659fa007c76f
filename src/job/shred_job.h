// One shred job: the progress dialog, its worker thread, and what the user is told afterwards.
#pragma once

#include <windows.h>

// Runs the job over every row of the main window's shred list with the checked method.
// Returns once the progress dialog has ended.
void RunShredJob(HWND mainWindow);
