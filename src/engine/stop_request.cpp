#include "engine/stop_request.h"

namespace {

thread_local const ShredProgress* currentProgress = nullptr;

} // namespace

StopRequestScope::StopRequestScope(const ShredProgress* progress) : previous_(currentProgress) {
    currentProgress = progress;
}

StopRequestScope::~StopRequestScope() {
    currentProgress = previous_;
}

bool StopRequested() {
    return currentProgress != nullptr && currentProgress->StopRequested();
}
