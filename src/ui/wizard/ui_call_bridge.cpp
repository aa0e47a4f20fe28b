#include "wizard/ui_call_bridge.h"

#include <chrono>

namespace velmor::ui {

namespace {

using Clock = std::chrono::steady_clock;

// How long the user-interface thread serves before it lets the windows repaint.
constexpr auto kServeSlice = std::chrono::milliseconds(20);
// How long it waits for a follow-up call before it returns to its event loop.
constexpr auto kFollowUpWait = std::chrono::microseconds(200);
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
        queue_.push_back({&pending, {}});
    }
    arrived_.notify_all();
    PostWakeUp();
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [&] { return pending.done; });
}

void UiCallBridge::Post(std::function<void()> call) {
    if (OnUiThread()) {
        call();
        return;
    }
    {
        std::lock_guard lock(mutex_);
        queue_.push_back({nullptr, std::move(call)});
    }
    arrived_.notify_all();
    PostWakeUp();
}

// A worker waiting on an answer usually calls again at once, so the next call is awaited a
// moment. A posted call ends the turn: what workers post meanwhile gathers until the next one.
void UiCallBridge::Serve() {
    wakeUpPosted_.store(false, std::memory_order_release);
    const auto sliceEnd = Clock::now() + kServeSlice;
    while (std::optional<QueuedCall> queued = TakeNextSoon()) {
        const bool posted = queued->pending == nullptr;
        Run(*queued);
        if (posted || Clock::now() >= sliceEnd) {
            std::lock_guard lock(mutex_);
            if (!queue_.empty()) {
                PostWakeUp();
            }
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
        // Asked first: a worker that has ended has queued all its calls.
        bool finished = done();
        while (std::optional<QueuedCall> queued = TakeNext()) {
            Run(*queued, [&] { finished = done() || finished; });
        }
        if (finished) {
            return;
        }
        if (done()) {
            continue;  // once more, for what came in meanwhile
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

std::optional<UiCallBridge::QueuedCall> UiCallBridge::TakeNext() {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) {
        return std::nullopt;
    }
    QueuedCall queued = std::move(queue_.front());
    queue_.pop_front();
    return queued;
}

std::optional<UiCallBridge::QueuedCall> UiCallBridge::TakeNextSoon() {
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_for(lock, kFollowUpWait, [&] { return !queue_.empty(); })) {
        return std::nullopt;
    }
    QueuedCall queued = std::move(queue_.front());
    queue_.pop_front();
    return queued;
}

void UiCallBridge::Run(QueuedCall& queued, const std::function<void()>& beforeAnswer) {
    if (queued.pending == nullptr) {
        queued.posted();
        if (beforeAnswer) {
            beforeAnswer();
        }
        return;
    }
    (*queued.pending->call)();
    if (beforeAnswer) {
        beforeAnswer();
    }
    {
        // The worker may return as soon as it sees the answer: touch nothing of it after this.
        std::lock_guard lock(mutex_);
        queued.pending->done = true;
    }
    answered_.notify_all();
}

void UiCallBridge::PostWakeUp() {
    if (wakeUp_ && !wakeUpPosted_.exchange(true, std::memory_order_acq_rel)) {
        wakeUp_();
    }
}

}  // namespace velmor::ui
