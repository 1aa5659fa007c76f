#include "job/job_record.h"

ShredJobRecord CurrentJob;

void ResetShredJob(const ShredJobList& list) {
    CurrentJob.stage = JobStage::Counting;
    CurrentJob.worker.Reset();
    CurrentJob.failed = false;
    CurrentJob.totalSteps = 0;
    CurrentJob.progress.Reset();
    CurrentJob.shutdownBlock.Reset();
    CurrentJob.rows = TakeJobRows(list);
    CurrentJob.method = list.CheckedMethod();
}
