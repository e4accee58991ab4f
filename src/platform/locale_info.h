#pragma once

#include "platform/date_time.h"

#include <string>
#include <string_view>

namespace brumo {

// The user's locale as the program uses it. Where the locale defines no digit grouping or
// long date (the C/POSIX locale), English forms are used.
class LocaleInfo {
public:
    // CompareStringA with the ignore-case flag: <0, 0, >0.
    static int CompareIgnoreCase(std::string_view a, std::string_view b);
    // CompareIgnoreCase(a, b) == 0, without working out an order.
    static bool EqualIgnoreCase(std::string_view a, std::string_view b);
    static std::string ThousandsSeparator();
    static std::string DecimalSeparator();
    static char DateSeparator();
    // The long date format, for example "Monday, December 7, 2026".
    static std::string LongDate(TDateTime date);
    // Pins English separators and forms whatever the environment says (tests).
    static void PinEnglish(bool pinned);
};

} // namespace brumo
