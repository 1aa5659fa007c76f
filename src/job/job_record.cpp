#include "job/job_record.h"

ShredJobRecord CurrentJob;

void ResetShredJob() {
    CurrentJob.stage = JobStage::Counting;
    CurrentJob.cancelRequested = false;
    CurrentJob.worker.Reset();
    CurrentJob.notShredded = 0;
}
