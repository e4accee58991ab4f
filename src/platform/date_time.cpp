#include "platform/date_time.h"

#include <cmath>

namespace brumo {

namespace {
// Days from 0001-01-01 to the epoch 1899-12-30 of day numbers.
constexpr int64_t kEpochOffset = 693593;

int64_t DaysBeforeYear(int64_t year) {
    const int64_t y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

constexpr int kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                   {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};
} // namespace

bool DateTime::IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DateTime::DaysInMonth(int year, int month) {
    if (month < 1 || month > 12)
        return 0;
    return kMonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

bool DateTime::IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

std::optional<TDateTime> DateTime::EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day))
        return std::nullopt;
    int64_t days = DaysBeforeYear(year);
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    days += day - 1;
    return static_cast<TDateTime>(days - kEpochOffset);
}

TDateTime DateTime::EncodeTime(const ClockTime& t) {
    return (t.hour * 3600000.0 + t.minute * 60000.0 + t.second * 1000.0 + t.millisecond) /
           86400000.0;
}

TDateTime DateTime::Compose(TDateTime date, const ClockTime& time) {
    const TDateTime fraction = EncodeTime(time);
    return date < 0 ? date - fraction : date + fraction;
}

CalendarDate DateTime::DecodeDate(TDateTime value) {
    // Stored dates come from files; a damaged one must not reach the integer conversion.
    if (!std::isfinite(value) || value < -kEpochOffset || value >= 2958466.0)
        return {};
    int64_t days = static_cast<int64_t>(std::trunc(value)) + kEpochOffset; // days since 0001-01-01
    // 400-year cycles of 146097 days, then centuries, 4-year cycles and years.
    int64_t year = 1;
    year += 400 * (days / 146097);
    days %= 146097;
    int64_t centuries = days / 36524;
    if (centuries == 4)
        centuries = 3;
    year += 100 * centuries;
    days -= centuries * 36524;
    year += 4 * (days / 1461);
    days %= 1461;
    int64_t years = days / 365;
    if (years == 4)
        years = 3;
    year += years;
    days -= years * 365;
    CalendarDate d;
    d.year = static_cast<int>(year);
    d.month = 1;
    while (days >= DaysInMonth(d.year, d.month)) {
        days -= DaysInMonth(d.year, d.month);
        ++d.month;
    }
    d.day = static_cast<int>(days) + 1;
    return d;
}

ClockTime DateTime::DecodeTime(TDateTime value) {
    if (!std::isfinite(value))
        return {};
    double fraction = std::fabs(value - std::trunc(value));
    int64_t ms = static_cast<int64_t>(std::llround(fraction * 86400000.0));
    if (ms >= 86400000)
        ms = 86399999;
    ClockTime t;
    t.hour = static_cast<int>(ms / 3600000);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.millisecond = static_cast<int>(ms % 1000);
    return t;
}

int DateTime::DayOfWeek(TDateTime value) {
    if (!std::isfinite(value) || std::fabs(value) > 1e15)
        return 0;
    // Day 0 (30 December 1899) was a Saturday.
    int64_t d = static_cast<int64_t>(std::trunc(value));
    return static_cast<int>(((d % 7) + 7 + 6) % 7);
}

TDateTime DateTime::DateOf(TDateTime value) {
    return std::trunc(value);
}

} // namespace brumo
