#pragma once

#include <cstdint>
#include <optional>

namespace brumo {

// Day number: days since 30 December 1899, the fraction being the time of day.
using TDateTime = double;

struct CalendarDate {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
};

struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Pure calendar arithmetic on day numbers (proleptic Gregorian calendar).
class DateTime {
public:
    static bool IsLeapYear(int year);
    static int DaysInMonth(int year, int month);
    static bool IsValidDate(int year, int month, int day);
    static std::optional<TDateTime> EncodeDate(int year, int month, int day);
    static TDateTime EncodeTime(const ClockTime& time);
    // A day and a time of day as one day number. Before the epoch the whole part counts back
    // while the fraction still counts forward from midnight: 6:00 on 29 December 1899 is -1.25.
    static TDateTime Compose(TDateTime date, const ClockTime& time);
    static CalendarDate DecodeDate(TDateTime value);
    static ClockTime DecodeTime(TDateTime value);
    // 0 = Sunday .. 6 = Saturday.
    static int DayOfWeek(TDateTime value);
    // Whole days: the time of day dropped by truncation toward zero.
    static TDateTime DateOf(TDateTime value);
};

} // namespace brumo
