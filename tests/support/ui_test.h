// Helpers for tests that drive real windows in-process, the way Wine's conformance tests do:
// send a message, read the state back, answer dialogs from a thread-local CBT hook, and wait with
// a deadline-bound message pump instead of sleeping.
#pragma once

#include "handles/windows_hook.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

// Dispatches this thread's messages until done() holds or timeoutMs have passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// While alive, calls onDialog once for every dialog box (class "#32770") that this thread
// creates and then activates: message boxes, common dialogs, modal dialogs. Dialogs that existed
// before the watcher are not reported, however often they are activated again. The call comes from
// inside the CBT hook, after the dialog's WM_INITDIALOG, so its controls exist; to end the dialog,
// post to it. One watcher per thread at a time.
class DialogWatcher {
public:
    explicit DialogWatcher(std::function<void(HWND dialog)> onDialog);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

private:
    WindowsHook hook_;
};

// Caption, text and buttons of a message box.
struct SeenMessageBox {
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons; // the ids among IDOK, IDCANCEL, IDYES, IDNO that it offers
};

SeenMessageBox ReadMessageBox(HWND box);

// While alive, answers every message box this thread shows by pressing button. A box whose
// caption or text differs from the expected ones fails the current test (and is answered all
// the same, so the test cannot hang on it).
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer(std::wstring caption, std::wstring text, int button);
    const std::vector<SeenMessageBox>& Seen() const { return seen_; }

private:
    std::wstring caption_;
    std::wstring text_;
    int button_;
    std::vector<SeenMessageBox> seen_;
    DialogWatcher watcher_;
};

// Presses a dialog's button the way the dialog manager reports it: WM_COMMAND with BN_CLICKED.
void PostDialogButton(HWND dialog, int id);

// Runs a modal dialog from the test program's own resources with no owner and, once it is shown,
// calls action(dialog) from inside its own modal loop. A dialog still open timeoutMs after it
// appeared is ended with TimedOutDialogResult.
inline constexpr INT_PTR TimedOutDialogResult = -1000;
INT_PTR RunModalDialog(int templateId, DLGPROC procedure, const std::function<void(HWND)>& action,
                       DWORD timeoutMs = 10000);

// A real drop handle listing paths, as the shell builds it for WM_DROPFILES. Ownership passes
// with the message: the receiver releases it with DragFinish.
HDROP MakeDropHandle(const std::vector<std::wstring>& paths);

// Reading a list-view control back.
int ListItemCount(HWND list);
std::wstring ListItemText(HWND list, int row, int column);
// Every row's texts of columns 0 .. columns - 1.
std::vector<std::vector<std::wstring>> ListRows(HWND list, int columns);
void SelectListItem(HWND list, int row, bool selected);
// Appends a row with the texts of its first two columns (name and path), set directly on the
// control: texts the program itself would never add, and no record behind the row.
void AddRawListRow(HWND list, const std::wstring& name, const std::wstring& path);

// A window's text and class name.
std::wstring WindowText(HWND window);
std::wstring ClassNameOf(HWND window);
