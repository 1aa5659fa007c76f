#include "support/ui_test.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <set>

namespace {

// Message boxes show their text in a static control with this id.
constexpr int MessageBoxTextId = 0xFFFF;

thread_local std::function<void(HWND)>* watcherCallback = nullptr;
// Dialogs created while the watcher runs and not yet reported.
thread_local std::set<HWND>* watcherPending = nullptr;

LRESULT CALLBACK WatcherHook(int code, WPARAM wParam, LPARAM lParam) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (watcherCallback && code == HCBT_CREATEWND && ClassNameOf(window) == L"#32770") {
        watcherPending->insert(window);
    } else if (watcherCallback && code == HCBT_ACTIVATE && watcherPending->erase(window) > 0) {
        (*watcherCallback)(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) {
            return true;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return done();
        }
        const DWORD wait = static_cast<DWORD>(deadline - now < 50 ? deadline - now : 50);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

DialogWatcher::DialogWatcher(std::function<void(HWND)> onDialog)
    : hook_(SetWindowsHookExW(WH_CBT, WatcherHook, nullptr, GetCurrentThreadId())) {
    EXPECT_EQ(nullptr, watcherCallback) << "one DialogWatcher per thread";
    watcherCallback = new std::function<void(HWND)>(std::move(onDialog));
    watcherPending = new std::set<HWND>();
    EXPECT_TRUE(hook_) << "SetWindowsHookExW failed, error " << GetLastError();
}

DialogWatcher::~DialogWatcher() {
    hook_.Reset();
    delete watcherCallback;
    delete watcherPending;
    watcherCallback = nullptr;
    watcherPending = nullptr;
}

SeenMessageBox ReadMessageBox(HWND box) {
    SeenMessageBox seen;
    seen.caption = WindowText(box);
    seen.text = WindowText(GetDlgItem(box, MessageBoxTextId));
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
        if (GetDlgItem(box, id)) {
            seen.buttons.push_back(id);
        }
    }
    return seen;
}

MessageBoxAnswerer::MessageBoxAnswerer(std::wstring caption, std::wstring text, int button)
    : caption_(std::move(caption)), text_(std::move(text)), button_(button),
      watcher_([this](HWND box) {
          SeenMessageBox seen = ReadMessageBox(box);
          EXPECT_EQ(caption_, seen.caption);
          EXPECT_EQ(text_, seen.text);
          seen_.push_back(std::move(seen));
          PostDialogButton(box, button_);
      }) {}

void PostDialogButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

namespace {

struct ModalRun {
    const std::function<void(HWND)>* action = nullptr;
    HWND dialog = nullptr;
    UINT_PTR actionTimer = 0;
    UINT_PTR deadlineTimer = 0;
};

thread_local ModalRun* modalRun = nullptr;

void CALLBACK RunActionOnce(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (modalRun && modalRun->dialog) {
        (*modalRun->action)(modalRun->dialog);
    }
}

void CALLBACK EndAtDeadline(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (modalRun && modalRun->dialog && IsWindow(modalRun->dialog)) {
        ADD_FAILURE() << "the dialog was still open at the deadline";
        EndDialog(modalRun->dialog, TimedOutDialogResult);
    }
}

} // namespace

INT_PTR RunModalDialog(int templateId, DLGPROC procedure, const std::function<void(HWND)>& action,
                       DWORD timeoutMs) {
    ModalRun run;
    run.action = &action;
    modalRun = &run;
    INT_PTR result = 0;
    {
        DialogWatcher watcher([&run, timeoutMs](HWND dialog) {
            if (run.dialog) {
                return;
            }
            run.dialog = dialog;
            run.actionTimer = SetTimer(nullptr, 0, 0, RunActionOnce);
            run.deadlineTimer = SetTimer(nullptr, 0, timeoutMs, EndAtDeadline);
        });
        result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), nullptr,
                                 procedure, 0);
    }
    KillTimer(nullptr, run.actionTimer);
    KillTimer(nullptr, run.deadlineTimer);
    modalRun = nullptr;
    EXPECT_NE(nullptr, run.dialog) << "the dialog never became active";
    return result;
}

HDROP MakeDropHandle(const std::vector<std::wstring>& paths) {
    size_t characters = 1;
    for (const std::wstring& path : paths) {
        characters += path.size() + 1;
    }
    const size_t bytes = sizeof(DROPFILES) + characters * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!memory) {
        ADD_FAILURE() << "GlobalAlloc failed";
        return nullptr;
    }
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(header) + sizeof(DROPFILES));
    for (const std::wstring& path : paths) {
        std::memcpy(text, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        text += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

int ListItemCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ListItemText(HWND list, int row, int column) {
    std::vector<wchar_t> buffer(32768, L'\0');
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                        reinterpret_cast<LPARAM>(&item));
    return std::wstring(item.pszText, static_cast<size_t>(length));
}

std::vector<std::vector<std::wstring>> ListRows(HWND list, int columns) {
    std::vector<std::vector<std::wstring>> rows;
    for (int row = 0; row < ListItemCount(list); ++row) {
        std::vector<std::wstring> texts;
        for (int column = 0; column < columns; ++column) {
            texts.push_back(ListItemText(list, row, column));
        }
        rows.push_back(std::move(texts));
    }
    return rows;
}

void AddRawListRow(HWND list, const std::wstring& name, const std::wstring& path) {
    std::wstring nameText = name;
    std::wstring pathText = path;
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = ListItemCount(list);
    item.pszText = nameText.data();
    const auto row = static_cast<WPARAM>(
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    item.iSubItem = 1;
    item.pszText = pathText.data();
    SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void SelectListItem(HWND list, int row, bool selected) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}
