#include "platform/locale_info.h"

#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

#include <atomic>

namespace brumo {

namespace {
std::atomic<bool> pinned{false};

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string LocaleString(LCTYPE type, const char* english) {
    if (pinned.load())
        return english;
    wchar_t buffer[80];
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 80);
    if (n <= 1)
        return english;
    return WinText::Utf8(std::wstring_view(buffer, static_cast<size_t>(n - 1)));
}

std::string EnglishLongDate(TDateTime date) {
    static const char* const days[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                       "Thursday", "Friday", "Saturday"};
    static const char* const months[] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
    const CalendarDate d = DateTime::DecodeDate(date);
    if (d.month < 1 || d.month > 12)
        return {};
    return std::string(days[DateTime::DayOfWeek(date)]) + ", " + months[d.month - 1] + " " +
           std::to_string(d.day) + ", " + std::to_string(d.year);
}
} // namespace

int LocaleInfo::CompareIgnoreCase(std::string_view a, std::string_view b) {
    // Bytes that are no UTF-8 would all become the replacement character and compare equal;
    // such texts compare as bytes, ignoring the case of ASCII letters only.
    if (!WinText::IsUtf8(a) || !WinText::IsUtf8(b)) {
        const size_t n = a.size() < b.size() ? a.size() : b.size();
        for (size_t i = 0; i < n; ++i) {
            const auto ca = static_cast<unsigned char>(AsciiUpper(a[i]));
            const auto cb = static_cast<unsigned char>(AsciiUpper(b[i]));
            if (ca != cb)
                return ca < cb ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
    const std::wstring wa = WinText::Wide(a);
    const std::wstring wb = WinText::Wide(b);
    const int r =
        CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.data(), static_cast<int>(wa.size()),
                       wb.data(), static_cast<int>(wb.size()));
    if (r == 0)
        return wa < wb ? -1 : (wa == wb ? 0 : 1);
    return r - CSTR_EQUAL;
}

bool LocaleInfo::EqualIgnoreCase(std::string_view a, std::string_view b) {
    return CompareIgnoreCase(a, b) == 0;
}

std::string LocaleInfo::ThousandsSeparator() {
    return LocaleString(LOCALE_STHOUSAND, ",");
}

std::string LocaleInfo::DecimalSeparator() {
    return LocaleString(LOCALE_SDECIMAL, ".");
}

char LocaleInfo::DateSeparator() {
    const std::string s = LocaleString(LOCALE_SDATE, "/");
    return s.size() == 1 ? s[0] : '/';
}

std::string LocaleInfo::LongDate(TDateTime date) {
    if (pinned.load())
        return EnglishLongDate(date);
    const CalendarDate d = DateTime::DecodeDate(date);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(d.year);
    st.wMonth = static_cast<WORD>(d.month);
    st.wDay = static_cast<WORD>(d.day);
    st.wDayOfWeek = static_cast<WORD>(DateTime::DayOfWeek(date));
    wchar_t buffer[128];
    const int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &st, nullptr, buffer, 128);
    if (n <= 1)
        return EnglishLongDate(date);
    return WinText::Utf8(std::wstring_view(buffer, static_cast<size_t>(n - 1)));
}

void LocaleInfo::PinEnglish(bool pin) {
    pinned.store(pin);
}

} // namespace brumo
