#pragma once

#include <cstdint>

namespace velmor::testdb {

// The FILETIME (100-nanosecond intervals since 1 January 1601, UTC) of a UTC calendar time.
uint64_t FileTimeFromUtc(int year, int month, int day, int hour, int minute, int second);

}  // namespace velmor::testdb
