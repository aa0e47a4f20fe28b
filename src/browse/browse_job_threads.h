#pragma once

#include <atomic>
#include <list>
#include <thread>

#include "browse/browse_worker.h"

namespace velmor {

// Starts one browse worker thread per selection and joins the threads that have ended.
class BrowseJobThreads {
public:
    BrowseJobThreads(ProcessingContext& context, ItemList& list, BrowseJobState& state)
        : context_(context), list_(list), state_(state) {}
    ~BrowseJobThreads() { JoinAll(); }
    BrowseJobThreads(const BrowseJobThreads&) = delete;
    BrowseJobThreads& operator=(const BrowseJobThreads&) = delete;

    // Starts a browse worker for the selection that the state holds when the job gets its turn.
    void Start();
    // Waits until every started worker has ended.
    void JoinAll();

private:
    struct Job {
        std::thread thread;
        std::atomic<bool> ended{false};
    };

    ProcessingContext& context_;
    ItemList& list_;
    BrowseJobState& state_;
    std::list<Job> jobs_;
};

}  // namespace velmor
