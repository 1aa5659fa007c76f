#include "job/shutdown_guard.h"

ShutdownReasonSetter SetShutdownReason = ShutdownBlockReasonCreate;
