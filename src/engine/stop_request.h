// Whether the job that the calling thread works for wants to stop, asked deep inside the engine
// (between the chunks of a pass, between passes, while waiting for a file held elsewhere) without
// handing the job's progress through the overwrite methods, whose signature is fixed.
#pragma once

#include "engine/shred_progress.h"

// While alive, StopRequested() on this thread asks progress; scopes nest, the innermost wins.
class StopRequestScope {
public:
    explicit StopRequestScope(const ShredProgress* progress);
    ~StopRequestScope();
    StopRequestScope(const StopRequestScope&) = delete;
    StopRequestScope& operator=(const StopRequestScope&) = delete;

private:
    const ShredProgress* previous_;
};

// False when no scope is open on this thread.
bool StopRequested();
