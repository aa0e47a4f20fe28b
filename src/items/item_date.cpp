#include "items/item_date.h"
#include "items/file_time.h"

#include <array>
#include <ctime>

namespace velmor {

namespace {

// FILETIME values at or above this one cannot be converted.
constexpr uint64_t kLargestFileTime = 0x7FFF'FFFF'FFFF'FFFFull;
constexpr int kEarliestYear = 1601;
constexpr int kLatestYear = 9999;
constexpr int kTmYearBase = 1900;

constexpr std::array<std::u16string_view, 7> kDayNames = {u"Sun", u"Mon", u"Tue", u"Wed",
                                                          u"Thu", u"Fri", u"Sat"};
constexpr size_t kDateTextCapacity = 32;

// Appends a non-negative number with at least minDigits digits, zero-padded.
void AppendNumber(std::u16string& text, int value, int minDigits) {
    char16_t digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value > 0 && count < 12);
    while (count < minDigits) {
        digits[count++] = u'0';
    }
    while (count > 0) {
        text += digits[--count];
    }
}

}  // namespace

std::u16string FormatFileTime(uint64_t fileTime) {
    if (fileTime > kLargestFileTime) {
        return {};
    }
    const auto seconds = static_cast<time_t>(FileTimeToUnixSeconds(fileTime));
    std::tm local{};
    // West of UTC the first hours of the FILETIME epoch fall in 1600, which no FILETIME can
    // stand for: such a time converts to nothing.
    if (localtime_r(&seconds, &local) == nullptr || local.tm_year < kEarliestYear - kTmYearBase ||
        local.tm_year > kLatestYear - kTmYearBase) {
        return {};
    }
    const int hour = local.tm_hour;
    const std::u16string_view day =
        (local.tm_wday >= 0 && local.tm_wday < 7) ? kDayNames[local.tm_wday] : kDayNames[6];
    // "Thu 4/10/2007 01:39:07 PM": day and month unpadded, the time in two-digit fields. The
    // text is built directly: the message index formats one date per message record.
    std::u16string text;
    text.reserve(kDateTextCapacity);
    text += day;
    text += u' ';
    AppendNumber(text, local.tm_mday, 1);
    text += u'/';
    AppendNumber(text, local.tm_mon + 1, 1);
    text += u'/';
    AppendNumber(text, local.tm_year + kTmYearBase, 1);
    text += u' ';
    AppendNumber(text, hour <= 12 ? hour : hour - 12, 2);
    text += u':';
    AppendNumber(text, local.tm_min, 2);
    text += u':';
    AppendNumber(text, local.tm_sec, 2);
    text += hour < 12 ? u" AM" : u" PM";
    return text;
}

const std::u16string& FormatItemDate(CItem& record, uint32_t low, uint32_t high) {
    record.dateText = FormatFileTime((static_cast<uint64_t>(high) << 32) | low);
    return record.dateText;
}

}  // namespace velmor
