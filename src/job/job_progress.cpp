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
}
