#include "engine/age_rule.h"

#include "model/junk_file_type.h"

#include <algorithm>

namespace brumo {

AgeRule AgeRule::Of(const TJunkFileObj& type) {
    return AgeRule{type.AgeCompare, type.Age1, type.Age2};
}

TDateTime AgeRule::MonthsBack(TDateTime today, int months) {
    const CalendarDate d = DateTime::DecodeDate(today);
    int year = d.year - months / 12;
    int month = d.month - months % 12;
    if (month < 1) {
        month += 12;
        --year;
    }
    // A day that the target month lacks (31 March one month back, 29 February a year back)
    // becomes that month's last day, so the reference stays within the month meant.
    const int day = std::min(d.day, DateTime::DaysInMonth(year, month));
    if (auto v = DateTime::EncodeDate(year, month, day))
        return *v;
    return today; // before year 1: nothing sensible to count back to
}

TDateTime AgeRule::Reference(TDateTime today, int32_t ageCode) {
    switch (ageCode) {
    case 0:
        return today - 1;
    case 1:
        return today - 3;
    case 2:
        return today - 7;
    case 3:
        return MonthsBack(today, 1);
    case 4:
        return MonthsBack(today, 3);
    case 5:
        return MonthsBack(today, 6);
    case 6:
        return MonthsBack(today, 12);
    default:
        return today;
    }
}

bool AgeRule::Fails(TDateTime f, TDateTime today) const {
    const TDateTime r1 = Reference(today, age1);
    const TDateTime r2 = Reference(today, age2);
    switch (compare) {
    case 0:
        return !(f == r1);
    case 1:
        return !(f < r1);
    case 2:
        return !(f >= r1);
    case 3:
        return !(r2 <= f && f < r1);
    case 4:
        return !(f < r2 || f >= r1);
    default:
        return true;
    }
}

} // namespace brumo
