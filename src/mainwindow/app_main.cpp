#include "engine/cloud_placeholders.h"
#include "mainwindow/app_globals.h"
#include "mainwindow/current_folder.h"
#include "mainwindow/main_dialog.h"
#include "resource.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    AppInstance = instance;
    // Started by a double-click, the program would otherwise hold its own folder.
    MoveCurrentFolderToSystemFolder();
    ExposeCloudPlaceholders();
    return static_cast<int>(
        DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialog, 0));
}
