#include "browse/browse_job_threads.h"

namespace velmor {

void BrowseJobThreads::Start() {
    jobs_.remove_if([](Job& job) {
        if (!job.ended) {
            return false;
        }
        job.thread.join();
        return true;
    });
    Job& job = jobs_.emplace_back();
    job.thread = std::thread([this, &job] {
        BrowseWorker(context_, list_, state_);
        job.ended = true;
    });
}

void BrowseJobThreads::JoinAll() {
    for (Job& job : jobs_) {
        job.thread.join();
    }
    jobs_.clear();
}

}  // namespace velmor
