// Resource and control ids, shared by ferrolet.rc and the code.
#pragma once

#define IDD_ABOUT 101
#define IDD_MAIN 102
#define IDD_PROGRESS 106
#define IDI_FERROLET 107
// The main window's keys (an accelerator table).
#define IDR_MAIN_KEYS 108

// Main window (template 102).
#define IDC_EXIT 2
#define IDC_ABOUT 1000
#define IDC_CLEAR_LIST 1001
#define IDC_ADD_FOLDER 1003
#define IDC_ADD_FILE 1004
#define IDC_STATUS_BAR 1006
#define IDC_SHRED_NOW 1007
#define IDC_REMOVE_ITEM 1011
#define IDC_SHRED_LIST 1013
#define IDC_METHOD_ZEROS 1016
#define IDC_METHOD_RANDOM 1017
#define IDC_METHOD_DOD3 1018
#define IDC_METHOD_DOD7 1019
#define IDC_METHOD_GUTMANN 1020
#define IDC_METHOD_FIRST IDC_METHOD_ZEROS
#define IDC_METHOD_LAST IDC_METHOD_GUTMANN
// A command with no control: Ctrl+V and Shift+Insert anywhere in the main window.
#define IDM_PASTE_ITEMS 1100

// Progress dialog (template 106).
#define IDC_PROGRESS_BAR 1013
#define IDC_PROGRESS_NAME 1014

// About dialog (template 101).
#define IDC_ABOUT_LINK 1001
#define IDC_ABOUT_NOTICE 1002
#define IDC_ABOUT_TITLE 1003

#define IDC_STATIC_UNNAMED -1
