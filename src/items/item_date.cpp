#include "items/item_date.h"

#include <array>
#include <cstdio>
#include <ctime>

#include "edb/text_codec.h"

namespace velmor {

namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;
// Seconds from 1 January 1601 (the FILETIME epoch) to 1 January 1970.
constexpr int64_t kEpochDifferenceSeconds = 11'644'473'600;
// FILETIME values at or above this one cannot be converted.
constexpr uint64_t kLargestFileTime = 0x7FFF'FFFF'FFFF'FFFFull;
constexpr int kLatestYear = 9999;
constexpr int kTmYearBase = 1900;

constexpr std::array<const char*, 7> kDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

}  // namespace

std::u16string FormatFileTime(uint64_t fileTime) {
    if (fileTime > kLargestFileTime) {
        return {};
    }
    const auto seconds = static_cast<time_t>(static_cast<int64_t>(fileTime / kTicksPerSecond) -
                                             kEpochDifferenceSeconds);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr || local.tm_year > kLatestYear - kTmYearBase) {
        return {};
    }
    const int hour = local.tm_hour;
    const int hour12 = hour <= 12 ? hour : hour - 12;
    const char* suffix = hour < 12 ? " AM" : " PM";
    const char* day = (local.tm_wday >= 0 && local.tm_wday < 7) ? kDayNames[local.tm_wday] : "Sat";
    char text[64];
    std::snprintf(text, sizeof text, "%s %d/%d/%d %02d:%02d:%02d%s", day, local.tm_mday,
                  local.tm_mon + 1, local.tm_year + kTmYearBase, hour12, local.tm_min, local.tm_sec,
                  suffix);
    return Utf8ToUtf16(text);
}

std::u16string FormatItemDate(CItem& record, uint32_t low, uint32_t high) {
    record.dateText = FormatFileTime((static_cast<uint64_t>(high) << 32) | low);
    return record.dateText;
}

}  // namespace velmor
