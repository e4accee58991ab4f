#include "runs/size_text.h"

#include "platform/locale_info.h"

#include <cmath>

namespace brumo {

namespace {

std::string GroupDigits(uint64_t magnitude, const std::string& separator) {
    const std::string digits = std::to_string(magnitude);
    std::string out;
    out.reserve(digits.size() + digits.size() / 3 * separator.size());
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

// value / divisor with two decimals. Worked out in whole hundredths, so that the C library's
// own idea of the decimal point never shows through.
std::string TwoDecimals(int64_t value, int64_t divisor) {
    const double hundredths =
        std::round(static_cast<double>(value) * 100.0 / static_cast<double>(divisor));
    const uint64_t h = static_cast<uint64_t>(hundredths);
    const unsigned fraction = static_cast<unsigned>(h % 100);
    std::string text = GroupDigits(h / 100, LocaleInfo::ThousandsSeparator());
    text += LocaleInfo::DecimalSeparator();
    text += static_cast<char>('0' + fraction / 10);
    text += static_cast<char>('0' + fraction % 10);
    return text;
}

} // namespace

std::string SizeText::Grouped(int64_t value) {
    const uint64_t magnitude =
        value < 0 ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string text = GroupDigits(magnitude, LocaleInfo::ThousandsSeparator());
    return value < 0 ? "-" + text : text;
}

std::string SizeText::Of(int64_t v) {
    constexpr int64_t kb = 1024, mb = 1048576, gb = 1073741824;
    if (v < 9999)
        return Grouped(v) + " bytes";
    if (v / kb < 9999)
        return TwoDecimals(v, kb) + " KB";
    if (v / mb < 9999)
        return TwoDecimals(v, mb) + " MB";
    return TwoDecimals(v, gb) + " GB";
}

} // namespace brumo
