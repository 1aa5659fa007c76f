#include "job/job_progress.h"

ShredProgress* JobProgressWatcher = nullptr;

void JobProgress::ShowName(const std::wstring& name) {
    {
        const std::lock_guard<std::mutex> lock(nameMutex_);
        name_ = name;
        nameIsNew_ = true;
    }
    if (JobProgressWatcher) {
        JobProgressWatcher->ShowName(name);
    }
}

void JobProgress::Step() {
    steps_.fetch_add(1, std::memory_order_relaxed);
    if (JobProgressWatcher) {
        JobProgressWatcher->Step();
    }
}

void JobProgress::BytesWritten(std::uint64_t bytes) {
    bytesWritten_.fetch_add(bytes, std::memory_order_relaxed);
    if (JobProgressWatcher) {
        JobProgressWatcher->BytesWritten(bytes);
    }
}

void JobProgress::StartByteCount(std::uint64_t expected) {
    bytesWritten_.store(0, std::memory_order_relaxed);
    bytesExpected_.store(expected, std::memory_order_relaxed);
    countingBytes_.store(true, std::memory_order_release);
}

bool JobProgress::ByteCount(std::uint64_t& written, std::uint64_t& expected) const {
    if (!countingBytes_.load(std::memory_order_acquire)) {
        return false;
    }
    expected = bytesExpected_.load(std::memory_order_relaxed);
    written = bytesWritten_.load(std::memory_order_relaxed);
    return true;
}

bool JobProgress::TakeNewName(std::wstring& name) {
    const std::lock_guard<std::mutex> lock(nameMutex_);
    if (!nameIsNew_) {
        return false;
    }
    name = name_;
    nameIsNew_ = false;
    return true;
}

void JobProgress::Reset() {
    {
        const std::lock_guard<std::mutex> lock(nameMutex_);
        name_.clear();
        nameIsNew_ = false;
    }
    steps_ = 0;
    stop_ = false;
    countingBytes_ = false;
    bytesWritten_ = 0;
    bytesExpected_ = 0;
}
