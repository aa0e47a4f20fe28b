#include "wizard/ui_call_bridge.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "wizard/worker_threads.h"

namespace velmor::ui {
namespace {

TEST(UiCallBridgeTest, WorkerCallsRunOnTheUiThreadInOrderAndReturnOnceApplied) {
    UiCallBridge bridge;
    const std::thread::id uiThread = std::this_thread::get_id();
    std::vector<int> applied;
    bool allOnUiThread = true;
    std::vector<size_t> seenByWorker;
    WorkerThreads workers(bridge);
    workers.Start([&] {
        for (int i = 0; i < 1000; ++i) {
            bridge.Call([&, i] {
                allOnUiThread = allOnUiThread && std::this_thread::get_id() == uiThread;
                applied.push_back(i);
            });
            // Applied before the call returned: the worker sees its own effect.
            seenByWorker.push_back(bridge.Get<size_t>([&] { return applied.size(); }));
        }
    });
    workers.WaitForAll();
    ASSERT_EQ(applied.size(), 1000u);
    EXPECT_TRUE(allOnUiThread);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(applied[i], i);
        EXPECT_EQ(seenByWorker[i], static_cast<size_t>(i + 1));
    }
}

TEST(UiCallBridgeTest, TheUiThreadCallsAtOnceAndServesOnlyWhenAsked) {
    UiCallBridge bridge;
    std::atomic<int> wakeUps{0};
    bridge.SetWakeUp([&] { ++wakeUps; });
    int value = 0;
    bridge.Call([&] { value = 1; });
    EXPECT_EQ(value, 1);
    EXPECT_EQ(wakeUps, 0);

    std::atomic<bool> returned{false};
    std::thread worker([&] {
        bridge.Call([&] { value = 2; });
        returned = true;
    });
    while (wakeUps == 0) {
        std::this_thread::yield();
    }
    EXPECT_FALSE(returned);
    EXPECT_EQ(value, 1);
    bridge.ServeUntil([&] { return returned.load(); });
    worker.join();
    EXPECT_EQ(value, 2);
}

TEST(UiCallBridgeTest, CallsOfSeveralWorkersKeepEachWorkersOrder) {
    UiCallBridge bridge;
    bridge.SetWakeUp([] {});
    std::vector<std::pair<int, int>> applied;
    WorkerThreads workers(bridge);
    for (int worker = 0; worker < 3; ++worker) {
        workers.Start([&, worker] {
            for (int i = 0; i < 200; ++i) {
                bridge.Call([&, worker, i] { applied.emplace_back(worker, i); });
            }
        });
    }
    workers.WaitForAll();
    ASSERT_EQ(applied.size(), 600u);
    std::vector<int> next(3, 0);
    for (const auto& [worker, i] : applied) {
        EXPECT_EQ(i, next[worker]++);
    }
}

TEST(UiCallBridgeTest, PostedCallsRunInTheirPlaceAmongCallsAndAllBeforeTheWorkersAreDone) {
    UiCallBridge bridge;
    bridge.SetWakeUp([] {});
    std::vector<int> applied;
    WorkerThreads workers(bridge);
    workers.Start([&] {
        for (int i = 0; i < 300; i += 3) {
            bridge.Post([&, i] { applied.push_back(i); });
            bridge.Post([&, i] { applied.push_back(i + 1); });
            bridge.Call([&, i] { applied.push_back(i + 2); });
        }
        // Posted last, just before the worker ends.
        bridge.Post([&] { applied.push_back(300); });
    });
    workers.WaitForAll();
    ASSERT_EQ(applied.size(), 301u);
    for (int i = 0; i <= 300; ++i) {
        EXPECT_EQ(applied[i], i);
    }
}

TEST(UiCallBridgeTest, AWorkerDoesNotWaitForItsPostedCalls) {
    UiCallBridge bridge;
    bridge.SetWakeUp([] {});
    std::atomic<bool> posted{false};
    int value = 0;
    std::thread worker([&] {
        bridge.Post([&] { value = 1; });
        posted = true;
        bridge.Call([&] { value = 2; });
    });
    while (!posted) {
        std::this_thread::yield();
    }
    EXPECT_EQ(value, 0) << "nothing runs until the user-interface thread serves";
    bridge.ServeUntil([&] { return value == 2; });
    worker.join();
    EXPECT_EQ(value, 2);
}

}  // namespace
}  // namespace velmor::ui
