// The progress dialog of a shred job (template 106), over the list of CurrentJob.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ProgressDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
