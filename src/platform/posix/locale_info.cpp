#include "platform/locale_info.h"

#include "platform/posix/user_locale.h"
#include "platform/posix/utf8_case.h"

#include <atomic>
#include <cstring>
#include <langinfo.h>
#include <wchar.h>

namespace brumo {

namespace {

std::atomic<bool> pinnedEnglish{false};

const char* const kEnglishDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                    "Thursday", "Friday", "Saturday"};
const char* const kEnglishMonths[] = {"January",   "February", "March",    "April",
                                      "May",       "June",     "July",     "August",
                                      "September", "October",  "November", "December"};

std::string Langinfo(nl_item item) {
    const char* text = nl_langinfo_l(item, UserLocale::Get());
    return text ? text : "";
}

// Where the day, month and year stand in the locale's short date form.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

DateOrder OrderOf(const std::string& format) {
    size_t day = std::string::npos, month = std::string::npos, year = std::string::npos;
    for (size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        size_t k = i + 1;
        while (k < format.size() && std::strchr("-_0^#EO", format[k]))
            ++k;
        if (k >= format.size())
            break;
        const char c = format[k];
        if ((c == 'd' || c == 'e') && day == std::string::npos)
            day = i;
        else if ((c == 'm' || c == 'b' || c == 'B' || c == 'h') && month == std::string::npos)
            month = i;
        else if ((c == 'y' || c == 'Y' || c == 'C') && year == std::string::npos)
            year = i;
        else if (c == 'F')
            return DateOrder::YearMonthDay;
        else if (c == 'D')
            return DateOrder::MonthDayYear;
        i = k;
    }
    if (year != std::string::npos && (day == std::string::npos || year < day) &&
        (month == std::string::npos || year < month))
        return DateOrder::YearMonthDay;
    if (day != std::string::npos && month != std::string::npos && day < month)
        return DateOrder::DayMonthYear;
    return DateOrder::MonthDayYear;
}

} // namespace

int LocaleInfo::CompareIgnoreCase(std::string_view a, std::string_view b) {
    if (Utf8Case::Equal(a, b))
        return 0;
    const std::wstring fa = Utf8Case::Fold(a);
    const std::wstring fb = Utf8Case::Fold(b);
    // The locale's collation orders; where it sees no difference (ignorable characters), the
    // code points decide, so that only strings equal ignoring case compare equal.
    int result = 0;
    if (fa.find(L'\0') == std::wstring::npos && fb.find(L'\0') == std::wstring::npos)
        result = wcscoll_l(fa.c_str(), fb.c_str(), UserLocale::Get());
    if (result == 0)
        result = fa.compare(fb);
    return result < 0 ? -1 : 1;
}

bool LocaleInfo::EqualIgnoreCase(std::string_view a, std::string_view b) {
    return Utf8Case::Equal(a, b);
}

std::string LocaleInfo::ThousandsSeparator() {
    const std::string decimal = DecimalSeparator();
    if (!pinnedEnglish) {
        std::string sep = Langinfo(THOUSEP);
        if (!sep.empty())
            return sep;
    }
    // No grouping in the locale: the English comma, unless the locale's decimal mark is one.
    return decimal == "," ? "." : ",";
}

std::string LocaleInfo::DecimalSeparator() {
    if (!pinnedEnglish) {
        std::string sep = Langinfo(RADIXCHAR);
        if (!sep.empty())
            return sep;
    }
    return ".";
}

char LocaleInfo::DateSeparator() {
    if (pinnedEnglish)
        return '/';
    const std::string format = Langinfo(D_FMT);
    if (format.find("%F") != std::string::npos)
        return '-';
    bool afterField = false;
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '%') {
            ++i;
            while (i < format.size() && std::strchr("-_0^#EO", format[i]))
                ++i;
            afterField = true;
            continue;
        }
        if (afterField && (c == '/' || c == '.' || c == '-' || c == ' '))
            return c;
    }
    return '/';
}

std::string LocaleInfo::LongDate(TDateTime date) {
    const CalendarDate d = DateTime::DecodeDate(date);
    const int weekday = DateTime::DayOfWeek(date);
    if (d.month < 1 || d.month > 12 || weekday < 0 || weekday > 6)
        return {};
    std::string dayName = kEnglishDays[weekday];
    std::string monthName = kEnglishMonths[d.month - 1];
    DateOrder order = DateOrder::MonthDayYear;
    if (!pinnedEnglish) {
        const std::string localDay = Langinfo(static_cast<nl_item>(DAY_1 + weekday));
        const std::string localMonth = Langinfo(static_cast<nl_item>(MON_1 + d.month - 1));
        if (!localDay.empty() && !localMonth.empty()) {
            dayName = localDay;
            monthName = localMonth;
            order = OrderOf(Langinfo(D_FMT));
        }
    }
    const std::string day = std::to_string(d.day);
    const std::string year = std::to_string(d.year);
    switch (order) {
    case DateOrder::DayMonthYear:
        return dayName + ", " + day + " " + monthName + " " + year;
    case DateOrder::YearMonthDay:
        return year + " " + monthName + " " + day + ", " + dayName;
    case DateOrder::MonthDayYear:
        break;
    }
    return dayName + ", " + monthName + " " + day + ", " + year;
}

void LocaleInfo::PinEnglish(bool pinned) {
    pinnedEnglish = pinned;
}

} // namespace brumo
