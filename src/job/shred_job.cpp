#include "job/shred_job.h"

void RunShredJob(HWND) {}
