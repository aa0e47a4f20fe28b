#include "edb_writer/file_time.h"

namespace velmor::testdb {

namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kSecondsPerDay = 86'400;
// Days from 1 January 1601 to 1 January 1970.
constexpr int64_t kDaysFrom1601To1970 = 134'774;

// Days since 1 January 1970 of a date in the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + dayOfEra - 719'468;
}

}  // namespace

uint64_t FileTimeFromUtc(int year, int month, int day, int hour, int minute, int second) {
    const int64_t days = DaysFromCivil(year, month, day) + kDaysFrom1601To1970;
    const int64_t seconds = days * kSecondsPerDay + hour * 3600 + minute * 60 + second;
    return static_cast<uint64_t>(seconds) * kTicksPerSecond;
}

}  // namespace velmor::testdb
