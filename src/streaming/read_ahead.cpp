#include "streaming/read_ahead.h"

#include <fcntl.h>

#include <algorithm>

namespace velmor {

namespace {
// Bytes asked for at a time: large enough for the disk to stream, small enough that the
// reader soon finds the first of them cached.
constexpr int64_t kStepBytes = int64_t{4} << 20;
}  // namespace

ReadAhead::ReadAhead(int fd) : fd_(fd), thread_([this] { Run(); }) {}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    wanted_.notify_one();
    thread_.join();
}

void ReadAhead::Extend(int64_t from, int64_t end) {
    {
        std::lock_guard lock(mutex_);
        next_ = std::max(next_, from);
        end_ = std::max(end_, end);
    }
    wanted_.notify_one();
}

void ReadAhead::Run() {
    std::unique_lock lock(mutex_);
    while (true) {
        wanted_.wait(lock, [this] { return closing_ || next_ < end_; });
        if (closing_) {
            return;
        }
        const int64_t from = next_;
        const int64_t length = std::min(kStepBytes, end_ - from);
        next_ = from + length;
        lock.unlock();
        posix_fadvise(fd_, static_cast<off_t>(from), static_cast<off_t>(length),
                      POSIX_FADV_WILLNEED);
        lock.lock();
    }
}

}  // namespace velmor
