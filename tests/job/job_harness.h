// Drives whole shred jobs in-process: the real main window (modeless, so the test thread keeps
// control) with its list and method buttons, a job list over them that records each row's
// identity when the row is added (as the main window does when the user picks an item), the real
// job with its progress dialog and worker, and a record of every name and step the worker
// published and of what the dialog painted.
#pragma once

#include "engine/item_identity.h"
#include "job/job_progress.h"
#include "job/shred_job.h"
#include "job/shred_job_list.h"
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

// The job's list over the main window's list-view (path in column 1, name in column 0) and method
// buttons, with the identity each row recorded when it was added.
class HarnessJobList final : public ShredJobList {
public:
    void Attach(HWND main) { main_ = main; }

    HWND List() const { return GetDlgItem(main_, IDC_SHRED_LIST); }
    void Added(bool hasIdentity, const ItemId& id) { identities_.push_back({hasIdentity, id}); }

    HWND Owner() const override { return main_; }
    int RowCount() const override { return ListItemCount(List()); }
    std::wstring RowPath(int row) const override { return Text(row, 1); }
    bool RowIdentity(int row, ItemId& id) const override {
        const auto& recorded = identities_.at(static_cast<std::size_t>(row));
        id = recorded.second;
        return recorded.first;
    }
    void SetRowPath(int row, const std::wstring& path) override {
        SetText(row, 0, path.substr(path.find_last_of(L'\\') + 1));
        SetText(row, 1, path);
    }
    void DeleteRow(int row) override {
        SendMessageW(List(), LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
        identities_.erase(identities_.begin() + row);
    }
    ShredMethod CheckedMethod() const override {
        for (int id = IDC_METHOD_FIRST; id <= IDC_METHOD_LAST; ++id) {
            if (IsDlgButtonChecked(main_, id) == BST_CHECKED) {
                return ShredMethods[id - IDC_METHOD_FIRST];
            }
        }
        return nullptr;
    }

private:
    std::wstring Text(int row, int column) const {
        std::vector<wchar_t> buffer(33000, L'\0');
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        SendMessageW(List(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return item.pszText ? std::wstring(item.pszText) : std::wstring();
    }
    void SetText(int row, int column, std::wstring text) {
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = text.data();
        SendMessageW(List(), LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
    }

    HWND main_ = nullptr;
    std::vector<std::pair<bool, ItemId>> identities_;
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

class JobHarness final : public ShredProgress {
public:
    JobHarness() {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                            ICC_BAR_CLASSES};
        InitCommonControlsEx(&classes);
        AppInstance = GetModuleHandleW(nullptr);
        main_ = CreateDialogParamW(AppInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialog, 0);
        EXPECT_NE(nullptr, main_) << "main window not created, error " << GetLastError();
        list_.Attach(main_);
        Current() = this;
        JobProgressWatcher = this;
    }
    ~JobHarness() {
        JobProgressWatcher = nullptr;
        RemoveWindowSubclass(main_, WatchEnding, 0);
        DestroyWindow(main_);
        Current() = nullptr;
    }
    JobHarness(const JobHarness&) = delete;
    JobHarness& operator=(const JobHarness&) = delete;

    HWND Main() const { return main_; }
    HWND List() const { return GetDlgItem(main_, IDC_SHRED_LIST); }

    // Adds a row as the user's pick does, recording the item's identity.
    void AddRow(const std::wstring& path) {
        const int before = ListItemCount(List());
        AddShredListItem(path.c_str(), List());
        if (ListItemCount(List()) > before) {
            ItemId id;
            const bool hasIdentity = ReadItemIdAtPath(path, id);
            list_.Added(hasIdentity, id);
        }
    }

    // A row with texts the main window itself would never add (it takes full paths only), and no
    // identity.
    void AddRawRow(const std::wstring& name, const std::wstring& path) {
        list_.Added(false, ItemId{});
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
    // and on the worker's thread each time the worker shows a name.
    std::function<void(HWND progress)> onProgressShown;
    std::function<void(HWND progress, const std::wstring& name)> onName;

    // Runs the job over the list, as the main window does once the user has answered Yes, and
    // returns once the job is over and its report, if any, answered.
    void ShredNow(std::chrono::seconds limit = std::chrono::seconds(120)) {
        JobWatchdog watchdog(limit);
        DialogWatcher watcher([this](HWND dialog) { OnDialog(dialog); });
        RunShredJob(list_);
    }

    // The worker's reports, on its thread.
    void ShowName(const std::wstring& name) override {
        {
            const std::lock_guard<std::mutex> lock(eventsMutex_);
            events.push_back({false, name, 0});
        }
        if (onName) {
            onName(progress_, name);
        }
    }
    void Step() override {
        const std::lock_guard<std::mutex> lock(eventsMutex_);
        ++stepsSeen_;
        events.push_back({true, L"", stepsSeen_});
    }
    bool StopRequested() const override { return false; }

    // What the last job showed.
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
    // Every name and step the worker published (a step's position: the steps so far).
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
        reports.push_back(shown);
        PostDialogButton(dialog, IDOK);
    }

    void OnProgressShown(HWND progress) {
        progress_ = progress;
        stepsSeen_ = 0;
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
                {true, L"", position, IsWindowVisible(bar) != FALSE, Current()->EventCount()});
        }
        return result;
    }

    static LRESULT CALLBACK RecordingNameProc(HWND name, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
        if (message == WM_PAINT && Current()) {
            Current()->paints.push_back({false, WindowText(name), 0, IsWindowVisible(name) != FALSE,
                                         Current()->EventCount()});
        }
        return CallWindowProcW(NameProc(), name, message, wParam, lParam);
    }

    std::size_t EventCount() {
        const std::lock_guard<std::mutex> lock(eventsMutex_);
        return events.size();
    }

    HWND main_ = nullptr;
    HarnessJobList list_;
    HWND progress_ = nullptr;
    std::mutex eventsMutex_;
    int stepsSeen_ = 0;
};
