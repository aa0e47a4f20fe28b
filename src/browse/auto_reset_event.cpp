#include "browse/auto_reset_event.h"

namespace velmor {

void AutoResetEvent::Wait() {
    std::unique_lock lock(mutex_);
    signal_.wait(lock, [this] { return signalled_; });
    signalled_ = false;
}

void AutoResetEvent::Set() {
    {
        std::lock_guard lock(mutex_);
        signalled_ = true;
    }
    signal_.notify_one();
}

}  // namespace velmor
