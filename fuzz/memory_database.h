#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "discovery/null_progress_sink.h"
#include "discovery/processing_context.h"

namespace velmor::fuzz {

// Fuzz bytes as an open database file: an in-memory file opened through its /proc path, so
// the engine reads them with its own read-only file access and no disk is touched.
class MemoryDatabase {
public:
    explicit MemoryDatabase(std::span<const uint8_t> bytes) {
        fd_ = ::memfd_create("velmor-fuzz", MFD_CLOEXEC);
        if (fd_ < 0) {
            std::abort();
        }
        size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.data() + written, bytes.size() - written);
            if (n <= 0) {
                std::abort();
            }
            written += static_cast<size_t>(n);
        }
        if (file.OpenDatabase("/proc/self/fd/" + std::to_string(fd_)) != 0) {
            std::abort();
        }
    }
    ~MemoryDatabase() { ::close(fd_); }
    MemoryDatabase(const MemoryDatabase&) = delete;
    MemoryDatabase& operator=(const MemoryDatabase&) = delete;

    EdbFile file;
    RecoveredStore store;
    NullProgressSink sink;
    StopFlag stop;
    ProcessingContext context{file, store, sink, stop};

private:
    int fd_ = -1;
};

}  // namespace velmor::fuzz
