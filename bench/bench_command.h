#pragma once

#include <chrono>

namespace velmor::bench {

using Clock = std::chrono::steady_clock;
inline constexpr double kMiB = 1024.0 * 1024.0;
inline constexpr double kGiB = 1024.0 * kMiB;

inline double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Every benchmark program takes "write PATH" (make its store) or "measure PATH" (print its
// figures); returns the exit status.
int RunBenchCommand(int argc, char** argv, const char* program, int (*write)(const char* path),
                    int (*measure)(const char* path));

}  // namespace velmor::bench
