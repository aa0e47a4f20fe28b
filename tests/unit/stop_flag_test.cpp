#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "discovery/stop_flag.h"

namespace velmor {
namespace {

using namespace std::chrono_literals;

// A worker that counts loop rounds until it sees a stop.
struct CountingWorker {
    StopFlag& stop;
    std::atomic<long> rounds{0};
    std::atomic<bool> ended{false};
    std::thread thread;

    explicit CountingWorker(StopFlag& flag) : stop(flag) {
        thread = std::thread([this] {
            while (!stop.requested()) {
                ++rounds;
                std::this_thread::sleep_for(100us);
            }
            ended = true;
        });
    }
    ~CountingWorker() { thread.join(); }
};

TEST(StopFlagTest, AnOpenQuestionPausesTheWorkerAndNoLetsItGoOn) {
    StopFlag stop;
    CountingWorker worker(stop);
    while (worker.rounds < 5) {
        std::this_thread::yield();
    }
    stop.openQuestion();
    std::this_thread::sleep_for(20ms);
    const long paused = worker.rounds;
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(worker.rounds, paused) << "the worker went on while the question was open";
    EXPECT_FALSE(worker.ended);

    stop.closeQuestion(false);
    while (worker.rounds < paused + 5) {
        std::this_thread::yield();
    }
    EXPECT_FALSE(worker.ended);
    stop.request();
}

TEST(StopFlagTest, YesEndsThePausedWorkerAsAStopDoes) {
    StopFlag stop;
    {
        CountingWorker worker(stop);
        stop.openQuestion();
        std::this_thread::sleep_for(10ms);
        EXPECT_FALSE(worker.ended);
        stop.closeQuestion(true);
    }
    EXPECT_TRUE(stop.isSet());
    stop.clear();
    EXPECT_FALSE(stop.requested());
}

}  // namespace
}  // namespace velmor
