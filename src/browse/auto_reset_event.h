#pragma once

#include <condition_variable>
#include <mutex>

namespace velmor {

// An event that releases one waiter per signal: a wait consumes the signal.
class AutoResetEvent {
public:
    explicit AutoResetEvent(bool signalled) : signalled_(signalled) {}

    // Waits without time-out until the event is signalled, and resets it.
    void Wait();
    void Set();

private:
    std::mutex mutex_;
    std::condition_variable signal_;
    bool signalled_;
};

}  // namespace velmor
