#include "wizard/worker_threads.h"

#include <algorithm>

namespace velmor::ui {

WorkerThreads::Handle WorkerThreads::Start(std::function<void()> body) {
    ReapEnded();
    auto running = std::make_shared<std::atomic<bool>>(true);
    std::thread thread([this, running, body = std::move(body)] {
        body();
        running->store(false);
        bridge_.Nudge();
    });
    workers_.push_back({std::move(thread), running});
    return running;
}

void WorkerThreads::WaitForAll() {
    bridge_.ServeUntil([this] { return !AnyRunning(); });
    ReapEnded();
}

bool WorkerThreads::AnyRunning() const {
    return std::any_of(workers_.begin(), workers_.end(),
                       [](const Worker& worker) { return worker.running->load(); });
}

// A body that has returned makes no more window calls, so joining it cannot block for long.
void WorkerThreads::ReapEnded() {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->running->load()) {
            ++it;
            continue;
        }
        it->thread.join();
        it = workers_.erase(it);
    }
}

}  // namespace velmor::ui
