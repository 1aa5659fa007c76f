#include "support/progress_recorder.h"

ProgressEvent ShownName(const std::wstring& name) {
    return ProgressEvent{ProgressEvent::Kind::Name, name};
}

ProgressEvent Stepped() {
    return ProgressEvent{ProgressEvent::Kind::Step, {}};
}

void ProgressRecorder::ShowName(const std::wstring& name) {
    events_.push_back(ShownName(name));
}

void ProgressRecorder::Step() {
    events_.push_back(Stepped());
    if (onStep_) {
        onStep_();
    }
}

std::vector<std::wstring> ProgressRecorder::Names() const {
    std::vector<std::wstring> names;
    for (const ProgressEvent& event : events_) {
        if (event.kind == ProgressEvent::Kind::Name) {
            names.push_back(event.name);
        }
    }
    return names;
}

int ProgressRecorder::Steps() const {
    int steps = 0;
    for (const ProgressEvent& event : events_) {
        steps += event.kind == ProgressEvent::Kind::Step ? 1 : 0;
    }
    return steps;
}

namespace {

class IgnoredProgress final : public ShredProgress {
public:
    void ShowName(const std::wstring&) override {}
    void Step() override {}
    bool StopRequested() const override { return false; }
};

} // namespace

ShredProgress& NoProgress() {
    static IgnoredProgress progress;
    return progress;
}
