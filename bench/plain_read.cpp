#include "plain_read.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "bench_command.h"

namespace velmor::bench {

namespace {
constexpr size_t kPlainReadSize = 1 << 20;
}  // namespace

double PlainRead(const char* path) {
    const auto start = Clock::now();
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    std::vector<char> buffer(kPlainReadSize);
    unsigned long checksum = 0;
    ssize_t count = 0;
    while ((count = ::read(fd, buffer.data(), buffer.size())) > 0) {
        checksum += static_cast<unsigned char>(buffer[0]);
    }
    ::close(fd);
    const double seconds = SecondsSince(start);
    // The checksum is used so that the reads cannot be left out.
    std::fprintf(stderr, "%s", checksum == 0xFFFFFFFF ? " " : "");
    return seconds;
}

}  // namespace velmor::bench
