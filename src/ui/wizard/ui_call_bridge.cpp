#include "wizard/ui_call_bridge.h"

#include <chrono>

namespace velmor::ui {

namespace {

using Clock = std::chrono::steady_clock;

// How long the user-interface thread serves before it lets the windows repaint.
constexpr auto kServeSlice = std::chrono::milliseconds(20);
// How long it waits for a follow-up call before it returns to its event loop.
constexpr auto kFollowUpWait = std::chrono::microseconds(200);
// How often a worker looks for its answer before it sleeps: most answers take microseconds.
constexpr int kAnswerPolls = 2000;
// How often ServeUntil looks at its condition when nothing wakes it.
constexpr auto kConditionPoll = std::chrono::milliseconds(5);

}  // namespace

UiCallBridge::UiCallBridge() : uiThread_(std::this_thread::get_id()) {}

void UiCallBridge::SetWakeUp(std::function<void()> wakeUp) {
    wakeUp_ = std::move(wakeUp);
}

void UiCallBridge::Call(const std::function<void()>& call) {
    if (OnUiThread()) {
        call();
        return;
    }
    PendingCall pending{&call};
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(&pending);
    }
    arrived_.notify_all();
    PostWakeUp();
    for (int poll = 0; poll < kAnswerPolls; ++poll) {
        if (pending.done.load(std::memory_order_acquire)) {
            return;
        }
        std::this_thread::yield();
    }
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [&] { return pending.done.load(std::memory_order_acquire); });
}

void UiCallBridge::Serve() {
    wakeUpPosted_.store(false, std::memory_order_release);
    const auto sliceEnd = Clock::now() + kServeSlice;
    while (PendingCall* pending = TakeNextSoon()) {
        Run(*pending);
        if (Clock::now() >= sliceEnd) {
            PostWakeUp();
            return;
        }
    }
}

void UiCallBridge::ServeUntil(const std::function<bool()>& done) {
    for (;;) {
        uint64_t nudgesSeen;
        {
            std::lock_guard lock(mutex_);
            nudgesSeen = nudges_;
        }
        while (PendingCall* pending = TakeNext()) {
            Run(*pending);
        }
        if (done()) {
            return;
        }
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, kConditionPoll,
                          [&] { return !queue_.empty() || nudges_ != nudgesSeen; });
    }
}

void UiCallBridge::Nudge() {
    {
        std::lock_guard lock(mutex_);
        ++nudges_;
    }
    arrived_.notify_all();
}

UiCallBridge::PendingCall* UiCallBridge::TakeNext() {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) {
        return nullptr;
    }
    PendingCall* pending = queue_.front();
    queue_.pop_front();
    return pending;
}

UiCallBridge::PendingCall* UiCallBridge::TakeNextSoon() {
    const auto waitEnd = Clock::now() + kFollowUpWait;
    do {
        if (PendingCall* pending = TakeNext()) {
            return pending;
        }
        std::this_thread::yield();
    } while (Clock::now() < waitEnd);
    return nullptr;
}

void UiCallBridge::Run(PendingCall& pending) {
    (*pending.call)();
    {
        // The worker may return as soon as it sees the answer: touch nothing of it after this.
        std::lock_guard lock(mutex_);
        pending.done.store(true, std::memory_order_release);
    }
    answered_.notify_all();
}

void UiCallBridge::PostWakeUp() {
    if (wakeUp_ && !wakeUpPosted_.exchange(true, std::memory_order_acq_rel)) {
        wakeUp_();
    }
}

}  // namespace velmor::ui
