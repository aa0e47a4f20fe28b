#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace velmor {

// The process-wide stop flag that every long loop tests. While a stop question is open the
// worker pauses at its next test instead of being suspended: answering No lets it go on,
// answering Yes sets the flag first, so it ends as a stop does.
class StopFlag {
public:
    // The workers' test: true when a stop was asked; waits while a stop question is open.
    bool requested() {
        const uint8_t state = state_.load(std::memory_order_acquire);
        if (state == 0) {
            return false;
        }
        if (state & kQuestionOpen) {
            waitForAnswer();
        }
        return (state_.load(std::memory_order_acquire) & kStop) != 0;
    }

    // The flag itself, without pausing (for front ends and tests).
    bool isSet() const { return (state_.load(std::memory_order_acquire) & kStop) != 0; }

    void request() { state_.fetch_or(kStop, std::memory_order_acq_rel); }
    void clear() { state_.fetch_and(static_cast<uint8_t>(~kStop), std::memory_order_acq_rel); }

    // A stop question has opened: workers pause at their next test.
    void openQuestion();
    // The question is answered: Yes sets the flag, then the workers resume.
    void closeQuestion(bool stop);
    bool questionOpen() const { return (state_.load(std::memory_order_acquire) & kQuestionOpen); }

private:
    static constexpr uint8_t kStop = 1;
    static constexpr uint8_t kQuestionOpen = 2;

    void waitForAnswer();

    std::atomic<uint8_t> state_{0};
    std::mutex mutex_;
    std::condition_variable answered_;
};

}  // namespace velmor
