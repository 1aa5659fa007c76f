// The engine's progress as the benchmark takes it: counted, never shown, never stopped.
#pragma once

#include "engine/shred_progress.h"

class QuietProgress final : public ShredProgress {
public:
    void ShowName(const std::wstring&) override {}
    void Step() override { ++steps; }
    bool StopRequested() const override { return false; }

    int steps = 0;
};
