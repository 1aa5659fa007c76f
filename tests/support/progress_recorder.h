// A ShredProgress that records in order every name the engine shows and every step it takes, and
// asks the engine to stop when a test says so.
#pragma once

#include "engine/shred_progress.h"

#include <functional>
#include <string>
#include <vector>

struct ProgressEvent {
    enum class Kind { Name, Step };
    Kind kind;
    std::wstring name; // the text shown, for Kind::Name
    bool operator==(const ProgressEvent&) const = default;
};

ProgressEvent ShownName(const std::wstring& name);
ProgressEvent Stepped();

class ProgressRecorder final : public ShredProgress {
public:
    void ShowName(const std::wstring& name) override;
    void Step() override;
    bool StopRequested() const override { return stop_; }

    const std::vector<ProgressEvent>& Events() const { return events_; }
    std::vector<std::wstring> Names() const;
    int Steps() const;

    // From now on the engine is asked to stop.
    void RequestStop() { stop_ = true; }
    // Called right after each recorded step (for example to ask for a stop).
    void OnStep(std::function<void()> callback) { onStep_ = std::move(callback); }

private:
    std::vector<ProgressEvent> events_;
    std::function<void()> onStep_;
    bool stop_ = false;
};

// A progress that records nothing and never asks to stop, for tests that look only at the disk.
ShredProgress& NoProgress();
