#include "companion/item_collector.h"

#include "companion/command_line.h"
#include "companion/companion_text.h"
#include "companion/ferrolet_window.h"
#include "companion/items_not_added.h"
#include "companion/private_channel.h"
#include "handles/held_mutex.h"
#include "handoff/item_handoff.h"

#include <memory>
#include <optional>
#include <thread>
#include <utility>

namespace {

// No item for this long: Explorer has started the companion of every selected item.
constexpr ULONGLONG QuietPeriodMs = 500;
// How often a busy window, or a Ferrolet on its way up, is looked at again.
constexpr DWORD PollMs = 100;

// Ferrolet being started on a thread of its own, so that items keep coming in while the
// elevation prompt stands.
struct Launch {
    FerroletStart result;
    KernelHandle done;
    std::thread thread;
};

struct Collector {
    HANDLE mutex = nullptr;
    std::wstring ferroletPath;
    // Signalled when a companion connects; the other carries each exchange.
    KernelHandle connected;
    KernelHandle exchange;
    OVERLAPPED connect = {};
    // Declared after the events it signals, so that it is closed first.
    KernelHandle pipe;
    // Collected and not yet taken by a window.
    std::vector<std::wstring> pending;
    ULONGLONG lastItemAt = 0;
    std::unique_ptr<Launch> launch;
    // The Ferrolet this collector started, its window once it is up, and until then the items
    // on its command line.
    KernelHandle process;
    HWND window = nullptr;
    std::vector<std::wstring> onCommandLine;
    // Why no window can take items any more: each is reported instead.
    std::optional<std::wstring> failure;
};

void Listen(Collector& collector) {
    ResetEvent(collector.connected.Get());
    collector.connect = OVERLAPPED{};
    collector.connect.hEvent = collector.connected.Get();
    if (!ConnectNamedPipe(collector.pipe.Get(), &collector.connect) &&
        GetLastError() == ERROR_PIPE_CONNECTED) {
        SetEvent(collector.connected.Get());
    }
}

void Serve(Collector& collector) {
    if (const auto packed = ReceiveFromCompanion(collector.pipe.Get(), collector.exchange.Get())) {
        const std::vector<std::wstring> items =
            UnpackItems(packed->data(), packed->size() * sizeof(wchar_t));
        collector.pending.insert(collector.pending.end(), items.begin(), items.end());
        collector.lastItemAt = GetTickCount64();
    }
    DisconnectNamedPipe(collector.pipe.Get());
    Listen(collector);
}

void BeginLaunch(Collector& collector) {
    CommandLineItems fit =
        FitOnCommandLine(collector.pending, ArgumentsLimit(collector.ferroletPath));
    const std::size_t fitting = collector.pending.size() - fit.rest.size();
    collector.onCommandLine.assign(collector.pending.begin(),
                                   collector.pending.begin() +
                                       static_cast<std::ptrdiff_t>(fitting));
    collector.pending = std::move(fit.rest);
    auto launch = std::make_unique<Launch>();
    launch->done = KernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    Launch* const started = launch.get();
    launch->thread =
        std::thread([started, path = collector.ferroletPath, arguments = std::move(fit.arguments)] {
            started->result = StartFerrolet(path, arguments);
            SetEvent(started->done.Get());
        });
    collector.launch = std::move(launch);
}

// The items of the command line go back to the front of the queue, to be reported.
void Fail(Collector& collector, std::wstring reason) {
    collector.failure = std::move(reason);
    collector.pending.insert(collector.pending.begin(), collector.onCommandLine.begin(),
                             collector.onCommandLine.end());
    collector.onCommandLine.clear();
}

void EndLaunch(Collector& collector) {
    collector.launch->thread.join();
    FerroletStart result = std::move(collector.launch->result);
    collector.launch.reset();
    if (result.error == ERROR_CANCELLED) {
        Fail(collector, ElevationRefusedText);
    } else if (result.error != ERROR_SUCCESS) {
        Fail(collector, WithNumber(NotStartedText, static_cast<long>(result.error)));
    } else {
        collector.process = std::move(result.process);
    }
}

// Whether every item is with the window of the Ferrolet this collector started.
bool DeliverToStarted(Collector& collector) {
    if (!collector.window) {
        const std::vector<HWND> windows = FerroletWindows(GetProcessId(collector.process.Get()));
        if (!windows.empty()) {
            collector.window = windows.front();
            collector.onCommandLine.clear();
        } else if (WaitForSingleObject(collector.process.Get(), 0) == WAIT_OBJECT_0) {
            collector.process.Reset();
            Fail(collector, EndedEarlyText);
            return false;
        } else {
            return false;
        }
    }
    if (collector.pending.empty()) {
        return true;
    }
    switch (HandToWindow(collector.window, collector.pending)) {
    case WindowAnswer::Taken:
        collector.pending.clear();
        return true;
    case WindowAnswer::Gone:
        // Closed before it took the rest: they go to another window or a new Ferrolet.
        collector.window = nullptr;
        collector.process.Reset();
        return false;
    case WindowAnswer::Busy:
        return false;
    }
    return false;
}

// Whether no item is left for a window: taken, or reported as not added.
bool Deliver(Collector& collector) {
    if (collector.failure) {
        ReportItemsNotAdded(*collector.failure, collector.pending);
        collector.pending.clear();
        return true;
    }
    if (collector.process) {
        return DeliverToStarted(collector);
    }
    if (collector.pending.empty()) {
        return true;
    }
    bool busy = false;
    for (const HWND window : FerroletWindows()) {
        const WindowAnswer answer = HandToWindow(window, collector.pending);
        if (answer == WindowAnswer::Taken) {
            collector.pending.clear();
            return true;
        }
        busy = busy || answer == WindowAnswer::Busy;
    }
    // An open window takes them once it is idle; with none open, Ferrolet starts.
    if (!busy) {
        BeginLaunch(collector);
    }
    return false;
}

// Closes the pipe, with the mutex held so that no companion is between finding it and handing
// over; false when items came meanwhile.
bool Close(Collector& collector) {
    for (;;) {
        const HANDLE events[] = {collector.mutex, collector.connected.Get()};
        const DWORD woke = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (woke == WAIT_OBJECT_0 + 1) {
            Serve(collector);
            continue;
        }
        const HeldMutex held(woke == WAIT_FAILED ? nullptr : collector.mutex);
        if (!collector.pending.empty()) {
            return false;
        }
        collector.pipe.Reset();
        return true;
    }
}

} // namespace

void CollectItems(KernelHandle pipe, HANDLE mutex, const std::wstring& ferroletPath,
                  std::vector<std::wstring> items) {
    Collector collector;
    collector.mutex = mutex;
    collector.ferroletPath = ferroletPath;
    collector.connected = KernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    collector.exchange = KernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    collector.pipe = std::move(pipe);
    collector.pending = std::move(items);
    collector.lastItemAt = GetTickCount64();
    Listen(collector);
    for (;;) {
        const HANDLE events[] = {collector.connected.Get(),
                                 collector.launch ? collector.launch->done.Get() : nullptr};
        const DWORD woke = WaitForMultipleObjects(collector.launch ? 2 : 1, events, FALSE, PollMs);
        if (woke == WAIT_OBJECT_0) {
            Serve(collector);
            continue;
        }
        if (woke == WAIT_OBJECT_0 + 1) {
            EndLaunch(collector);
        }
        const bool quiet = GetTickCount64() - collector.lastItemAt >= QuietPeriodMs;
        if (quiet && !collector.launch && Deliver(collector) && Close(collector)) {
            return;
        }
    }
}
