#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "items/item_date.h"

namespace velmor {
namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;
constexpr uint64_t kUnixEpochAsFileTime = 116'444'736'000'000'000ull;

// The FILETIME of a UTC calendar time.
uint64_t FileTimeOf(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    return kUnixEpochAsFileTime + static_cast<uint64_t>(timegm(&fields)) * kTicksPerSecond;
}

class ItemDateTest : public testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        savedTz_ = tz ? tz : "";
        hadTz_ = tz != nullptr;
        UseZone("UTC0");
    }
    void TearDown() override {
        if (hadTz_) {
            setenv("TZ", savedTz_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    static void UseZone(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }

private:
    std::string savedTz_;
    bool hadTz_ = false;
};

TEST_F(ItemDateTest, WritesDayNameDayMonthYearAndTwelveHourTime) {
    const uint64_t time = FileTimeOf(2007, 10, 4, 13, 39, 7);
    CItem record;
    EXPECT_EQ(
        FormatItemDate(record, static_cast<uint32_t>(time), static_cast<uint32_t>(time >> 32)),
        u"Thu 4/10/2007 01:39:07 PM");
    EXPECT_EQ(record.dateText, u"Thu 4/10/2007 01:39:07 PM");
}

TEST_F(ItemDateTest, MidnightNoonAndLateEveningHours) {
    EXPECT_EQ(FormatFileTime(FileTimeOf(2020, 2, 29, 0, 5, 0)), u"Sat 29/2/2020 00:05:00 AM");
    EXPECT_EQ(FormatFileTime(FileTimeOf(2020, 3, 1, 12, 0, 0)), u"Sun 1/3/2020 12:00:00 PM");
    EXPECT_EQ(FormatFileTime(FileTimeOf(2020, 3, 2, 23, 0, 59)), u"Mon 2/3/2020 11:00:59 PM");
    EXPECT_EQ(FormatFileTime(FileTimeOf(2020, 3, 2, 11, 59, 59)), u"Mon 2/3/2020 11:59:59 AM");
}

TEST_F(ItemDateTest, LocalTimeFollowsTz) {
    UseZone("IST-5:30");
    EXPECT_EQ(FormatFileTime(FileTimeOf(2007, 10, 4, 8, 9, 7)), u"Thu 4/10/2007 01:39:07 PM");
    UseZone("EST5");
    EXPECT_EQ(FormatFileTime(FileTimeOf(2007, 10, 4, 3, 0, 0)), u"Wed 3/10/2007 10:00:00 PM");
}

TEST_F(ItemDateTest, YearsAboveNineThousandNineHundredNinetyNineGiveEmptyText) {
    EXPECT_EQ(FormatFileTime(FileTimeOf(9999, 12, 31, 23, 59, 59)), u"Fri 31/12/9999 11:59:59 PM");
    EXPECT_EQ(FormatFileTime(FileTimeOf(9999, 12, 31, 23, 59, 59) + 10 * kTicksPerSecond), u"");
    EXPECT_EQ(FormatFileTime(UINT64_MAX), u"");
    CItem record;
    record.dateText = u"old";
    EXPECT_EQ(FormatItemDate(record, 0xFFFFFFFF, 0xFFFFFFFF), u"");
    EXPECT_EQ(record.dateText, u"");
}

// A zero time lies in 1600 west of UTC; the first second that converts is local midnight of
// 1 January 1601, a Monday, in every zone.
TEST_F(ItemDateTest, LocalTimesBeforeSixteenHundredOneGiveEmptyText) {
    const struct {
        const char* zone;
        bool zeroConverts;
    } zones[] = {{"UTC0", true},  {"America/New_York", false}, {"Pacific/Honolulu", false},
                 {"EST5", false}, {"Asia/Tokyo", true},        {"IST-5:30", true}};
    constexpr uint64_t kSecondsPerDay = 86'400;
    for (const auto& [zone, zeroConverts] : zones) {
        SCOPED_TRACE(zone);
        UseZone(zone);
        EXPECT_EQ(FormatFileTime(0).empty(), !zeroConverts);
        CItem record;
        record.dateText = u"old";
        EXPECT_EQ(FormatItemDate(record, 0, 0).empty(), !zeroConverts);
        if (zeroConverts) {
            continue;
        }
        uint64_t below = 0;  // the last second known to give no text
        uint64_t above = kSecondsPerDay;
        ASSERT_FALSE(FormatFileTime(above * kTicksPerSecond).empty());
        while (above - below > 1) {
            const uint64_t middle = (below + above) / 2;
            (FormatFileTime(middle * kTicksPerSecond).empty() ? below : above) = middle;
        }
        EXPECT_EQ(FormatFileTime(above * kTicksPerSecond), u"Mon 1/1/1601 00:00:00 AM");
        EXPECT_EQ(FormatFileTime(above * kTicksPerSecond - 1), u"");
    }
}

TEST(ItemRecordsTest, JournalRecordsAnswerAsCItem) {
    EXPECT_EQ(CJournal().ClassName(), u"CItem");
    EXPECT_EQ(CMailItem().ClassName(), u"CMailItem");
    EXPECT_EQ(CContact().ClassName(), u"CContact");
    EXPECT_EQ(CCalendar().ClassName(), u"CCalendar");
    EXPECT_EQ(CTask().ClassName(), u"CTask");
    EXPECT_EQ(CStickyNote().ClassName(), u"CStickyNote");
    EXPECT_EQ(CMailItem().itemKind, kPlainMail);
}

}  // namespace
}  // namespace velmor
