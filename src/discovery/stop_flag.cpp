#include "discovery/stop_flag.h"

namespace velmor {

void StopFlag::openQuestion() {
    std::lock_guard lock(mutex_);
    state_.fetch_or(kQuestionOpen, std::memory_order_acq_rel);
}

void StopFlag::closeQuestion(bool stop) {
    {
        std::lock_guard lock(mutex_);
        if (stop) {
            state_.fetch_or(kStop, std::memory_order_acq_rel);
        }
        state_.fetch_and(static_cast<uint8_t>(~kQuestionOpen), std::memory_order_acq_rel);
    }
    answered_.notify_all();
}

void StopFlag::waitForAnswer() {
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [this] { return !questionOpen(); });
}

}  // namespace velmor
