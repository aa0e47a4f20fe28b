#pragma once

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <thread>

#include "wizard/ui_call_bridge.h"

namespace velmor::ui {

// The worker threads started for one event each. The user-interface thread waits for them
// only while serving their window calls, and reaps the ones that have ended.
class WorkerThreads {
public:
    // Tells whether the thread's body is still running.
    using Handle = std::shared_ptr<const std::atomic<bool>>;

    explicit WorkerThreads(UiCallBridge& bridge) : bridge_(bridge) {}
    ~WorkerThreads() { WaitForAll(); }
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    Handle Start(std::function<void()> body);

    static bool Running(const Handle& handle) { return handle && handle->load(); }

    // Serves window calls until every thread has ended.
    void WaitForAll();
    bool AnyRunning() const;

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> running;
    };

    void ReapEnded();

    UiCallBridge& bridge_;
    std::list<Worker> workers_;
};

}  // namespace velmor::ui
