// Drives whole shred jobs in-process: the real main window (modeless, so the test thread keeps
// control), its "&Shred Now!" button, the confirmation answered from a CBT hook, the real
// progress dialog and worker, and a record of what the progress dialog showed and stepped.
#pragma once

#include "mainwindow/app_globals.h"
#include "mainwindow/main_dialog.h"
#include "mainwindow/main_window_text.h"
#include "mainwindow/shred_list_view.h"
#include "resource.h"
#include "support/ui_test.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

inline constexpr const wchar_t* ProgressCaption = L"Shredding Files...";
inline constexpr const wchar_t* NotShreddedCaptionText = L"Items not shredded";

// One thing the progress dialog was told: a name on its name line, or a step of its bar (with
// the bar's position right after it).
struct ShownProgress {
    bool step = false;
    std::wstring name;
    int position = 0;
};

// One paint of the name line or the bar: what it showed, whether it painted on screen (a control
// whose redraw is off is not shown), and how many reports had been made by then.
struct ShownPaint {
    bool bar = false;
    std::wstring name;
    int position = 0;
    bool onScreen = false;
    std::size_t afterEvents = 0;
};

struct ShownBox {
    SeenMessageBox box;
    HWND owner = nullptr;
};

// Ends the test process when a job does not end in time, rather than hanging the suite.
class JobWatchdog {
public:
    explicit JobWatchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (!ended_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fprintf(stderr, "the shred job did not end within %lld s\n",
                               static_cast<long long>(limit.count()));
                  std::fflush(stderr);
                  TerminateProcess(GetCurrentProcess(), 3);
              }
          }) {}
    ~JobWatchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        ended_.notify_all();
        thread_.join();
    }
    JobWatchdog(const JobWatchdog&) = delete;
    JobWatchdog& operator=(const JobWatchdog&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread thread_;
};

class JobHarness {
public:
    JobHarness() {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                            ICC_BAR_CLASSES};
        InitCommonControlsEx(&classes);
        AppInstance = GetModuleHandleW(nullptr);
        main_ = CreateDialogParamW(AppInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialog, 0);
        EXPECT_NE(nullptr, main_) << "main window not created, error " << GetLastError();
        Current() = this;
    }
    ~JobHarness() {
        RemoveWindowSubclass(main_, WatchEnding, 0);
        DestroyWindow(main_);
        Current() = nullptr;
    }
    JobHarness(const JobHarness&) = delete;
    JobHarness& operator=(const JobHarness&) = delete;

    HWND Main() const { return main_; }
    HWND List() const { return GetDlgItem(main_, IDC_SHRED_LIST); }

    void AddRow(const std::wstring& path) { AddShredListItem(path.c_str(), List()); }

    // A row with texts the main window itself would never add (it takes full paths only).
    void AddRawRow(const std::wstring& name, const std::wstring& path) {
        std::wstring nameText = name;
        std::wstring pathText = path;
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = ListItemCount(List());
        item.pszText = nameText.data();
        const auto row = static_cast<WPARAM>(
            SendMessageW(List(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        item.iSubItem = 1;
        item.pszText = pathText.data();
        SendMessageW(List(), LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    }

    std::vector<std::wstring> RowTexts(int column) const {
        std::vector<std::wstring> texts;
        for (const auto& row : ListRows(List(), 3)) {
            texts.push_back(row[static_cast<std::size_t>(column)]);
        }
        return texts;
    }
    std::vector<std::wstring> RowNames() const { return RowTexts(0); }
    std::vector<std::wstring> RowPaths() const { return RowTexts(1); }

    void CheckMethod(int id) { CheckRadioButton(main_, IDC_METHOD_FIRST, IDC_METHOD_LAST, id); }

    // Called on the main thread when the progress dialog is shown (before the worker starts),
    // and each time it is told a name.
    std::function<void(HWND progress)> onProgressShown;
    std::function<void(HWND progress, const std::wstring& name)> onName;

    // Presses "&Shred Now!" and returns once the job is over and its report, if any, answered.
    void ShredNow(std::chrono::seconds limit = std::chrono::seconds(120)) {
        JobWatchdog watchdog(limit);
        DialogWatcher watcher([this](HWND dialog) { OnDialog(dialog); });
        SendMessageW(GetDlgItem(main_, IDC_SHRED_NOW), BM_CLICK, 0, 0);
    }

    // What the last job showed.
    int confirmations = 0;
    std::vector<ShownBox> reports;
    bool progressShown = false;
    HWND progressOwner = nullptr;
    bool mainDisabledWhileShown = false;
    int rangeLow = -1;
    int rangeHigh = -1;
    // Whether the dialog was hidden, or its owner enabled again, by a call from another thread
    // (EndDialog does both on the thread that calls it).
    bool endedFromAnotherThread = false;
    int positionAtStart = -1;
    std::wstring nameAtStart;
    std::vector<ShownProgress> events;
    std::vector<ShownPaint> paints;

    std::vector<std::wstring> ShownNames() const {
        std::vector<std::wstring> names;
        for (const ShownProgress& event : events) {
            if (!event.step) {
                names.push_back(event.name);
            }
        }
        return names;
    }
    int Steps() const {
        int steps = 0;
        for (const ShownProgress& event : events) {
            steps += event.step ? 1 : 0;
        }
        return steps;
    }
    // The last paint of the bar (bar true) or of the name line; null when it never painted.
    const ShownPaint* LastPaint(bool bar) const {
        for (auto it = paints.rbegin(); it != paints.rend(); ++it) {
            if (it->bar == bar) {
                return &*it;
            }
        }
        return nullptr;
    }
    int LastPosition() const {
        for (auto it = events.rbegin(); it != events.rend(); ++it) {
            if (it->step) {
                return it->position;
            }
        }
        return positionAtStart;
    }

private:
    static JobHarness*& Current() {
        static JobHarness* current = nullptr;
        return current;
    }

    void OnDialog(HWND dialog) {
        if (dialog == main_) {
            return;
        }
        if (WindowText(dialog) == ProgressCaption) {
            OnProgressShown(dialog);
            return;
        }
        ShownBox shown{ReadMessageBox(dialog), GetWindow(dialog, GW_OWNER)};
        if (shown.box.caption == ConfirmShredCaption) {
            ++confirmations;
            PostDialogButton(dialog, IDYES);
            return;
        }
        reports.push_back(shown);
        PostDialogButton(dialog, IDOK);
    }

    void OnProgressShown(HWND progress) {
        progressShown = true;
        progressOwner = GetWindow(progress, GW_OWNER);
        mainDisabledWhileShown = !IsWindowEnabled(main_);
        const HWND bar = GetDlgItem(progress, IDC_PROGRESS_BAR);
        const HWND name = GetDlgItem(progress, IDC_PROGRESS_NAME);
        PBRANGE range = {};
        SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        rangeLow = range.iLow;
        rangeHigh = range.iHigh;
        positionAtStart = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
        nameAtStart = WindowText(name);
        BarProc() = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingBarProc)));
        NameProc() = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(name, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingNameProc)));
        SetWindowSubclass(progress, WatchEnding, 0, 0);
        SetWindowSubclass(main_, WatchEnding, 0, 0);
        if (onProgressShown) {
            onProgressShown(progress);
        }
    }

    static LRESULT CALLBACK WatchEnding(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR) {
        const bool hiding = message == WM_WINDOWPOSCHANGING &&
                            (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW);
        const bool enabling = message == WM_ENABLE && wParam;
        if ((hiding || enabling) && InSendMessage() && Current()) {
            Current()->endedFromAnotherThread = true;
        }
        return DefSubclassProc(window, message, wParam, lParam);
    }

    static WNDPROC& BarProc() {
        static WNDPROC original = nullptr;
        return original;
    }
    static WNDPROC& NameProc() {
        static WNDPROC original = nullptr;
        return original;
    }

    static LRESULT CALLBACK RecordingBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
        const LRESULT result = CallWindowProcW(BarProc(), bar, message, wParam, lParam);
        if (message == WM_PAINT && Current()) {
            const auto position =
                static_cast<int>(CallWindowProcW(BarProc(), bar, PBM_GETPOS, 0, 0));
            Current()->paints.push_back(
                {true, L"", position, IsWindowVisible(bar) != FALSE, Current()->events.size()});
        }
        if (message == PBM_STEPIT && Current()) {
            const auto position =
                static_cast<int>(CallWindowProcW(BarProc(), bar, PBM_GETPOS, 0, 0));
            Current()->events.push_back({true, L"", position});
        }
        return result;
    }

    static LRESULT CALLBACK RecordingNameProc(HWND name, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
        if (message == WM_SETTEXT && Current() && lParam) {
            const std::wstring text(reinterpret_cast<const wchar_t*>(lParam));
            Current()->events.push_back({false, text, 0});
            if (Current()->onName) {
                Current()->onName(GetParent(name), text);
            }
        }
        if (message == WM_PAINT && Current()) {
            Current()->paints.push_back({false, WindowText(name), 0, IsWindowVisible(name) != FALSE,
                                         Current()->events.size()});
        }
        return CallWindowProcW(NameProc(), name, message, wParam, lParam);
    }

    HWND main_ = nullptr;
};
