#include "discovery/ordered_block_pass.h"

#include <algorithm>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

namespace velmor {

namespace {

class PassState {
public:
    PassState(size_t slots, const BlockScan& scan) : scan_(scan), scanned_(slots, false) {}

    // Every thread but the caller: scans blocks until the end is seen or the pass ends.
    void ScanUntilTheEnd(unsigned worker) {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [&] { return ending_ || MayTake() || Exhausted(); });
            if (ending_ || Exhausted()) {
                return;
            }
            ScanNext(lock, worker);
        }
    }

    // The caller: merges each block as soon as it is scanned, and scans one itself while the
    // next to merge is not ready yet.
    void MergeInOrder(const BlockMerge& merge) {
        std::unique_lock lock(mutex_);
        while (merged_ < end_) {
            const auto slot = static_cast<size_t>(merged_) % scanned_.size();
            if (scanned_[slot]) {
                lock.unlock();
                const bool goOn = merge(merged_, slot);
                lock.lock();
                scanned_[slot] = false;
                ++merged_;
                changed_.notify_all();
                if (!goOn) {
                    break;
                }
            } else if (MayTake()) {
                ScanNext(lock, 0);
            } else {
                changed_.wait(lock);
            }
        }
        ending_ = true;
        changed_.notify_all();
    }

private:
    bool MayTake() const {
        return next_ < end_ && next_ - merged_ < static_cast<int64_t>(scanned_.size());
    }
    bool Exhausted() const { return next_ >= end_; }

    // Takes the next block and scans it without the lock.
    void ScanNext(std::unique_lock<std::mutex>& lock, unsigned worker) {
        const int64_t block = next_++;
        const auto slot = static_cast<size_t>(block) % scanned_.size();
        lock.unlock();
        const bool more = scan_(block, slot, worker);
        lock.lock();
        // Slot b % slots belongs to block b alone until b is merged: no later block is taken
        // that far ahead of the merge.
        scanned_[slot] = true;
        if (!more) {
            end_ = std::min(end_, block + 1);
        }
        changed_.notify_all();
    }

    const BlockScan& scan_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<bool> scanned_;  // per slot: its block waits for the merge
    int64_t next_ = 0;           // the next block to take
    int64_t merged_ = 0;
    int64_t end_ = std::numeric_limits<int64_t>::max();  // no block from here on exists
    bool ending_ = false;
};

}  // namespace

void RunOrderedBlockPass(unsigned threads, size_t slots, const BlockScan& scan,
                         const BlockMerge& merge) {
    PassState state(std::max<size_t>(slots, 1), scan);
    std::vector<std::thread> helpers;
    for (unsigned worker = 1; worker < threads; ++worker) {
        helpers.emplace_back([&state, worker] { state.ScanUntilTheEnd(worker); });
    }
    state.MergeInOrder(merge);
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

}  // namespace velmor
