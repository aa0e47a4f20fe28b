#pragma once

#include <cstdint>

namespace velmor {

// A FILETIME counts 100-nanosecond steps since 1 January 1601, UTC.
inline constexpr uint64_t kFileTimeStepsPerSecond = 10'000'000;
// Seconds from 1 January 1601 to 1 January 1970.
inline constexpr int64_t kFileTimeSecondsBeforeUnixEpoch = 11'644'473'600;
// The FILETIME of 1 January 1970.
inline constexpr uint64_t kUnixEpochFileTime =
    static_cast<uint64_t>(kFileTimeSecondsBeforeUnixEpoch) * kFileTimeStepsPerSecond;

// Seconds since 1 January 1970 (negative before it) of a FILETIME, to the second below.
constexpr int64_t FileTimeToUnixSeconds(uint64_t fileTime) {
    return static_cast<int64_t>(fileTime / kFileTimeStepsPerSecond) -
           kFileTimeSecondsBeforeUnixEpoch;
}

}  // namespace velmor
