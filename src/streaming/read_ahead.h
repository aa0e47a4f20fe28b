#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace velmor {

// Has the system read a file's bytes into its cache ahead of a sequential reader, on a thread
// of its own: asking for them blocks while the disk works, and the reader must not wait then.
class ReadAhead {
public:
    explicit ReadAhead(int fd);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The bytes up to end will be read soon.
    void Extend(int64_t from, int64_t end);

private:
    void Run();

    int fd_;
    std::mutex mutex_;
    std::condition_variable wanted_;
    int64_t next_ = 0;  // the first byte not asked for yet
    int64_t end_ = 0;
    bool closing_ = false;
    std::thread thread_;
};

}  // namespace velmor
