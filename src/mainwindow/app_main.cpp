#include "engine/cloud_placeholders.h"
#include "engine/free_space_wipe.h"
#include "mainwindow/app_globals.h"
#include "mainwindow/current_folder.h"
#include "mainwindow/main_dialog.h"
#include "mainwindow/path_pickers.h"
#include "resource.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    AppInstance = instance;
    // Explorer's Send To passes each chosen item as an argument of its own.
    MainWindowStart start{CommandLinePaths(GetCommandLineW())};
    // Started by a double-click, the program would otherwise hold its own folder.
    MoveCurrentFolderToSystemFolder();
    // Cloud files must show what they are before anything is listed or opened.
    ExposeCloudPlaceholders();
    // A wipe of free space cut short by a power cut must not leave the drive without its space.
    start.fillFoldersLeft = RemoveLeftoverFillFolders();
    return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                                            MainDialog, reinterpret_cast<LPARAM>(&start)));
}
