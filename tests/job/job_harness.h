// Drives whole shred jobs in-process: the real job with its progress dialog and worker over a
// list in memory owned by a plain window, every question answered Yes and every report OK, and a
// record of every name and step the worker published and of what the dialog painted.
#pragma once

#include "handles/kernel_handle.h"
#include "handles/window_handle.h"
#include "job/job_progress.h"
#include "job/shred_job.h"
#include "resource.h"
#include "support/file_system_override.h"
#include "support/stand_in_job_list.h"
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
    int range = 0;
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

// Records a job's dialogs and progress; the window that owns the job is the derived harness's.
class JobHarness : public ShredProgress {
public:
    JobHarness() {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                            ICC_BAR_CLASSES};
        InitCommonControlsEx(&classes);
        Current() = this;
        JobProgressWatcher = this;
    }
    ~JobHarness() {
        JobProgressWatcher = nullptr;
        Current() = nullptr;
    }
    JobHarness(const JobHarness&) = delete;
    JobHarness& operator=(const JobHarness&) = delete;

    // The window that owns the job.
    HWND Main() const { return main_; }

    // Called on the main thread when the progress dialog is shown (before the worker starts),
    // and on the worker's thread each time the worker shows a name.
    std::function<void(HWND progress)> onProgressShown;
    std::function<void(HWND progress, const std::wstring& name)> onName;

    // Calls start, which begins a job on this thread, answering every question Yes and every
    // report OK, and returns once the job is over.
    void Run(const std::function<void()>& start, std::chrono::seconds limit) {
        JobWatchdog watchdog(limit);
        DialogWatcher watcher([this](HWND dialog) { OnDialog(dialog); });
        start();
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

    // What the last job showed: the confirmations answered Yes, and the other boxes, answered OK.
    std::vector<ShownBox> confirmations;
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

protected:
    void SetMain(HWND main) { main_ = main; }

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
        if (shown.box.buttons == std::vector<int>{IDYES, IDNO}) {
            confirmations.push_back(shown);
            PostDialogButton(dialog, IDYES);
            return;
        }
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
            const auto range =
                static_cast<int>(CallWindowProcW(BarProc(), bar, PBM_GETRANGE, FALSE, 0));
            Current()->paints.push_back({true, L"", position, range, IsWindowVisible(bar) != FALSE,
                                         Current()->EventCount()});
        }
        return result;
    }

    static LRESULT CALLBACK RecordingNameProc(HWND name, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
        if (message == WM_PAINT && Current()) {
            Current()->paints.push_back({false, WindowText(name), 0, 0,
                                         IsWindowVisible(name) != FALSE, Current()->EventCount()});
        }
        return CallWindowProcW(NameProc(), name, message, wParam, lParam);
    }

    std::size_t EventCount() {
        const std::lock_guard<std::mutex> lock(eventsMutex_);
        return events.size();
    }

    HWND main_ = nullptr;
    HWND progress_ = nullptr;
    std::mutex eventsMutex_;
    int stepsSeen_ = 0;
};

// Names and steps alternate, each name followed by exactly one step, the bar counting up by one.
inline void ExpectEveryNameStepped(const JobHarness& job) {
    ASSERT_EQ(0u, job.events.size() % 2);
    for (std::size_t i = 0; i < job.events.size(); i += 2) {
        EXPECT_FALSE(job.events[i].step) << "event " << i;
        EXPECT_TRUE(job.events[i + 1].step) << "event " << i + 1;
        EXPECT_EQ(static_cast<int>(i / 2 + 1), job.events[i + 1].position);
    }
}

// The job's tests: the job over a list in memory, owned by a plain window on screen.
class StandInJob final : public JobHarness {
public:
    StandInJob()
        : owner_(CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 CW_USEDEFAULT, CW_USEDEFAULT, OwnerWidth, OwnerHeight, nullptr,
                                 nullptr, nullptr, nullptr)),
          list(owner_.Get(), OverwriteRandom) {
        EXPECT_TRUE(owner_) << "owner window not created, error " << GetLastError();
        SetMain(owner_.Get());
    }

    void AddRow(const std::wstring& path) { list.Add(path); }
    std::vector<std::wstring> RowPaths() const { return list.Paths(); }
    void ShredNow(std::chrono::seconds limit = std::chrono::seconds(120)) {
        Run([this] { RunShredJob(list); }, limit);
    }

private:
    static constexpr int OwnerWidth = 400;
    static constexpr int OwnerHeight = 300;
    WindowHandle owner_;

public:
    StandInJobList list;
};

// A job that destroyed everything: its dialog stood over the disabled owner, which is enabled
// again with an empty list and no report.
template <typename Job> void ExpectCleanEnd(const Job& job) {
    EXPECT_TRUE(job.progressShown);
    EXPECT_EQ(job.Main(), job.progressOwner);
    EXPECT_TRUE(job.mainDisabledWhileShown);
    EXPECT_TRUE(job.reports.empty()) << "no report after a job that destroyed everything";
    EXPECT_TRUE(job.RowPaths().empty());
    EXPECT_TRUE(IsWindowEnabled(job.Main()));
}

// The one report of items not shredded: its caption, text, lone OK button and owner.
inline void ExpectOneReport(const JobHarness& job, const std::wstring& text) {
    ASSERT_EQ(1u, job.reports.size());
    EXPECT_EQ(NotShreddedCaptionText, job.reports[0].box.caption);
    EXPECT_EQ(text, job.reports[0].box.text);
    EXPECT_EQ(std::vector<int>{IDOK}, job.reports[0].box.buttons);
    EXPECT_EQ(job.Main(), job.reports[0].owner);
}

// Jobs whose tests replace calls of the engine's file-system table; the table is whole again after
// each test.
class FileSystemSeam : public ::testing::Test {
private:
    FileSystemOverride restoreAfterwards_;
};
