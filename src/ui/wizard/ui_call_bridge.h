#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace velmor::ui {

// Carries the workers' window operations to the user-interface thread, in the order they are
// made. A call returns only once the user-interface thread has run it; a posted call returns at
// once and runs before every later call. The user-interface thread serves the calls whenever it
// is woken, and also while it waits for a worker, so that it never waits for a worker that
// waits for it.
class UiCallBridge {
public:
    // The constructing thread is the user-interface thread.
    UiCallBridge();
    UiCallBridge(const UiCallBridge&) = delete;
    UiCallBridge& operator=(const UiCallBridge&) = delete;

    // How a worker wakes the user-interface thread; it must lead to a call of Serve there.
    void SetWakeUp(std::function<void()> wakeUp);

    // Runs call on the user-interface thread and returns once it has run; on that thread
    // itself it runs at once.
    void Call(const std::function<void()>& call);

    // Runs call on the user-interface thread later, before any call made after it; on that
    // thread itself it runs at once.
    void Post(std::function<void()> call);

    template <typename Result>
    Result Get(const std::function<Result()>& read) {
        Result result{};
        Call([&] { result = read(); });
        return result;
    }

    // User-interface thread: runs the queued calls for one time slice at most, and at most one
    // posted call, so that the windows still repaint while a worker streams calls.
    void Serve();

    // User-interface thread: runs calls as they arrive until done() holds and none is queued.
    // done() is asked again after each call, before the worker waiting on it goes on, so it
    // sees every state the calls pass through.
    void ServeUntil(const std::function<bool()>& done);

    // Makes ServeUntil look at its condition again (a worker has ended).
    void Nudge();

    bool OnUiThread() const { return std::this_thread::get_id() == uiThread_; }

private:
    struct PendingCall {
        const std::function<void()>* call;
        bool done = false;
    };
    // A call a worker waits on, or a posted one.
    struct QueuedCall {
        PendingCall* pending = nullptr;
        std::function<void()> posted;
    };

    std::optional<QueuedCall> TakeNext();
    // Waits a moment for a call that follows at once, as a worker's calls usually do.
    std::optional<QueuedCall> TakeNextSoon();
    // Runs the call, then beforeAnswer (if any), then lets a waiting worker go on.
    void Run(QueuedCall& queued, const std::function<void()>& beforeAnswer = {});
    void PostWakeUp();

    const std::thread::id uiThread_;
    std::function<void()> wakeUp_;
    std::atomic<bool> wakeUpPosted_{false};
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::condition_variable answered_;
    std::deque<QueuedCall> queue_;
    uint64_t nudges_ = 0;
};

}  // namespace velmor::ui
