#include "job/job_record.h"

ShredJobRecord CurrentJob;

void ResetShredJob(ShredJobList& list) {
    CurrentJob.stage = JobStage::Counting;
    CurrentJob.list = &list;
    CurrentJob.cancelRequested = false;
    CurrentJob.worker.Reset();
    CurrentJob.notShredded = 0;
}
