// Soak run: one whole shred job through the real main window, progress dialog and worker over a
// very large tree and a very large file (bench/soak/soak.sh prepares them), while a sampling
// thread records the process's memory. Prints the figures and exits 0 when nothing is left.
//   soak_job <folder> <file>
#include "job/shred_job.h"
#include "mainwindow/app_globals.h"
#include "mainwindow/main_dialog.h"
#include "mainwindow/shred_list_view.h"
#include "resource.h"

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

struct MemorySample {
    double seconds;
    SIZE_T workingSet;
    SIZE_T committed;
};

class MemorySampler {
public:
    explicit MemorySampler(std::chrono::milliseconds interval)
        : start_(std::chrono::steady_clock::now()), thread_([this, interval] {
              while (!stop_) {
                  Sample();
                  std::this_thread::sleep_for(interval);
              }
          }) {}
    ~MemorySampler() { Finish(); }
    MemorySampler(const MemorySampler&) = delete;
    MemorySampler& operator=(const MemorySampler&) = delete;

    void Sample() {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(GetCurrentProcess(),
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        samples_.push_back({seconds, counters.WorkingSetSize, counters.PagefileUsage});
        std::printf("memory %.1f s: working set %.1f MiB, committed %.1f MiB\n", seconds,
                    counters.WorkingSetSize / 1048576.0, counters.PagefileUsage / 1048576.0);
        std::fflush(stdout);
    }

    // Stops sampling and returns every sample taken.
    std::vector<MemorySample> Finish() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        return samples_;
    }

private:
    std::chrono::steady_clock::time_point start_;
    std::atomic<bool> stop_{false};
    std::vector<MemorySample> samples_;
    std::thread thread_;
};

// The id of a message box's text.
constexpr int MessageBoxTextId = 0xFFFF;

// Answers any message box of the job (a report of items not shredded) and remembers its text.
std::wstring ReportText;

LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        if (GetDlgItem(box, IDOK) && !GetDlgItem(box, IDC_PROGRESS_BAR)) {
            wchar_t text[512] = {};
            GetDlgItemTextW(box, MessageBoxTextId, text, 512);
            ReportText = text;
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class CbtHook {
public:
    CbtHook() : hook_(SetWindowsHookExW(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId())) {}
    ~CbtHook() {
        if (hook_) {
            UnhookWindowsHookEx(hook_);
        }
    }
    CbtHook(const CbtHook&) = delete;
    CbtHook& operator=(const CbtHook&) = delete;

private:
    HHOOK hook_;
};

class MainWindow {
public:
    MainWindow()
        : window_(CreateDialogParamW(AppInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialog,
                                     0)) {}
    ~MainWindow() {
        if (window_) {
            DestroyWindow(window_);
        }
    }
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    HWND Get() const { return window_; }

private:
    HWND window_;
};

bool Exists(const std::wstring& path) {
    return GetFileAttributesW((L"\\\\?\\" + path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

int Run(const std::wstring& folder, const std::wstring& file) {
    AppInstance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    MainWindow main;
    if (!main.Get()) {
        std::fputs("soak: the main window could not be created\n", stderr);
        return 2;
    }
    ShredListView shredList(main.Get());
    shredList.Add({folder, file});

    MemorySampler sampler(std::chrono::milliseconds(1000));
    const CbtHook hook;
    const auto start = std::chrono::steady_clock::now();
    RunShredJob(shredList);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::vector<MemorySample> samples = sampler.Finish();

    const int rows = shredList.RowCount();
    const bool folderLeft = Exists(folder);
    const bool fileLeft = Exists(file);
    SIZE_T lowest = SIZE_MAX;
    SIZE_T highest = 0;
    SIZE_T highestCommitted = 0;
    for (const MemorySample& sample : samples) {
        lowest = std::min(lowest, sample.workingSet);
        highest = std::max(highest, sample.workingSet);
        highestCommitted = std::max(highestCommitted, sample.committed);
    }
    std::printf("job: %.1f s; rows left %lld; folder %s; file %s; report \"%ls\"\n", seconds,
                static_cast<long long>(rows), folderLeft ? "LEFT" : "gone",
                fileLeft ? "LEFT" : "gone", ReportText.c_str());
    std::printf("working set over %zu samples: lowest %.1f MiB, highest %.1f MiB, at the end "
                "%.1f MiB; committed at most %.1f MiB\n",
                samples.size(), lowest / 1048576.0, highest / 1048576.0,
                samples.empty() ? 0.0 : samples.back().workingSet / 1048576.0,
                highestCommitted / 1048576.0);
    return rows == 0 && !folderLeft && !fileLeft ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: soak_job <folder> <file>\n", stderr);
        return 2;
    }
    try {
        return Run(argv[1], argv[2]);
    } catch (...) {
        std::fputs("soak: unexpected failure\n", stderr);
        return 2;
    }
}
