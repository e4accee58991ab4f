#include "platform/clock.h"
#include "platform/date_time.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brumo {
namespace {

TEST(DateTime, DayNumbersRoundTripAcrossCenturiesAndLeapDays) {
    EXPECT_EQ(DateTime::EncodeDate(1899, 12, 30).value(), 0);
    EXPECT_EQ(DateTime::EncodeDate(2008, 1, 15).value(), 39462);
    EXPECT_EQ(DateTime::EncodeDate(1900, 3, 1).value(), 61); // 1900 is no leap year
    for (int y : {1600, 1899, 1900, 2000, 2024, 2026, 2100}) {
        for (int m = 1; m <= 12; ++m) {
            for (int d : {1, 28, DateTime::DaysInMonth(y, m)}) {
                auto v = DateTime::EncodeDate(y, m, d);
                ASSERT_TRUE(v) << y << "-" << m << "-" << d;
                CalendarDate back = DateTime::DecodeDate(*v);
                EXPECT_EQ(back.year, y);
                EXPECT_EQ(back.month, m);
                EXPECT_EQ(back.day, d);
            }
        }
    }
    EXPECT_FALSE(DateTime::EncodeDate(2025, 2, 29));
    EXPECT_TRUE(DateTime::EncodeDate(2024, 2, 29));
}

TEST(DateTime, TimeOfDayAndWeekday) {
    TDateTime v = *DateTime::EncodeDate(2026, 12, 7) + DateTime::EncodeTime({18, 30, 5, 0});
    ClockTime t = DateTime::DecodeTime(v);
    EXPECT_EQ(t.hour, 18);
    EXPECT_EQ(t.minute, 30);
    EXPECT_EQ(t.second, 5);
    EXPECT_EQ(DateTime::DateOf(v), *DateTime::EncodeDate(2026, 12, 7));
    EXPECT_EQ(DateTime::DayOfWeek(v), 1); // a Monday
}

TEST(DateTime, DamagedValuesDecodeToNoDate) {
    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -1e300, 3e6}) {
        EXPECT_EQ(DateTime::DecodeDate(bad).year, 0) << bad;
        DateTime::DecodeTime(bad);
        DateTime::DayOfWeek(bad);
    }
    EXPECT_EQ(DateTime::DecodeDate(2958465).year, 9999); // 31 December 9999
}

TEST(DateTime, TimesBeforeTheEpochKeepTheirDay) {
    // The fraction counts forward from midnight below zero too: 6:00 on 29 December 1899.
    EXPECT_EQ(DateTime::Compose(-1, {6, 0, 0, 0}), -1.25);
    const TDateTime day = *DateTime::EncodeDate(1700, 6, 15);
    const TDateTime evening = DateTime::Compose(day, {18, 30, 0, 0});
    EXPECT_EQ(DateTime::DateOf(evening), day);
    EXPECT_EQ(DateTime::DecodeTime(evening).hour * 60 + DateTime::DecodeTime(evening).minute,
              18 * 60 + 30);

    // A file written then, through the system's own conversion (the tests run with TZ=UTC):
    // 1700-06-15 is 36324 days after 1601-01-01.
    const int64_t ticks = (36324LL * 86400 + 18 * 3600 + 30 * 60) * 10000000LL;
    const auto local = Clock::Current().FileTimeToLocal(ticks);
    ASSERT_TRUE(local);
    EXPECT_EQ(*local, evening);
}

} // namespace
} // namespace brumo
