#include "mainwindow/drop_message_filter.h"

ChangeMessageFilterFunction ChangeMessageFilter = ChangeWindowMessageFilterEx;

int AllowDropMessages(HWND window) {
    int allowed = 0;
    for (const UINT message : DropMessages) {
        if (ChangeMessageFilter(window, message, MSGFLT_ALLOW, nullptr)) {
            ++allowed;
        }
    }
    return allowed;
}
