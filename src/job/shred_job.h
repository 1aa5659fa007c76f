// One shred job: the progress dialog, its worker thread, and what the user is told afterwards.
#pragma once

#include <windows.h>

#include <string>

// Runs the job over every row of the main window's shred list with the checked method.
// Returns once the progress dialog has ended and its worker is gone. When items could not be
// shredded, they remain in the list and one message box owned by mainWindow says how many.
void RunShredJob(HWND mainWindow);

// The text of that message box.
std::wstring NotShreddedMessage(int count);
