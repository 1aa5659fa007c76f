// The worker's progress, published to state that the dialog reads at its own pace: the worker
// never waits for the dialog's thread, and no window message crosses threads per item.
#pragma once

#include "engine/shred_progress.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

class JobProgress final : public ShredProgress {
public:
    // Worker side, through the engine.
    void ShowName(const std::wstring& name) override;
    void Step() override;
    bool StopRequested() const override { return stop_.load(std::memory_order_relaxed); }
    void BytesWritten(std::uint64_t bytes) override;
    // A free-space row starts, whose wipe will write about expected bytes: from now on the bar
    // follows its bytes written.
    void StartByteCount(std::uint64_t expected);

    // Dialog side.
    void RequestStop() { stop_.store(true, std::memory_order_relaxed); }
    int StepsTaken() const { return steps_.load(std::memory_order_relaxed); }
    // The current free-space row's bytes written and expected; false before the first one.
    bool ByteCount(std::uint64_t& written, std::uint64_t& expected) const;
    // The latest name, when one was shown since the last call.
    bool TakeNewName(std::wstring& name);

    // Ready for a new job: no name, no steps, no stop.
    void Reset();

private:
    std::mutex nameMutex_;
    std::wstring name_;
    bool nameIsNew_ = false;
    std::atomic<int> steps_{0};
    std::atomic<bool> stop_{false};
    std::atomic<bool> countingBytes_{false};
    std::atomic<std::uint64_t> bytesWritten_{0};
    std::atomic<std::uint64_t> bytesExpected_{0};
};

// Told every name, step and count of bytes as the worker publishes it, on the worker's thread, when
// set. The program leaves it null; a test watches a job's reports through it.
extern ShredProgress* JobProgressWatcher;
