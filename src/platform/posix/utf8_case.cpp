#include "platform/posix/utf8_case.h"

#include "platform/posix/user_locale.h"

#include <wctype.h>

namespace brumo {

namespace {

// Decodes one code point at text[i], advancing i; invalid bytes map to U+DC80 + byte.
wchar_t NextCodePoint(std::string_view text, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        minimum = 0x10000;
    }
    bool valid = length > 0 && i + length <= text.size();
    for (int k = 1; valid && k < length; ++k) {
        const unsigned char c = byte(i + k);
        if ((c & 0xC0) != 0x80)
            valid = false;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (valid && cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF)) {
        i += length;
        return static_cast<wchar_t>(cp);
    }
    ++i;
    return static_cast<wchar_t>(0xDC00 + lead);
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::wstring Utf8Case::Fold(std::string_view text) {
    const locale_t loc = UserLocale::Neutral();
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const wchar_t cp = NextCodePoint(text, i);
        if (cp >= 0xDC80 && cp <= 0xDCFF)
            out.push_back(cp);
        else
            out.push_back(static_cast<wchar_t>(towlower_l(towupper_l(cp, loc), loc)));
    }
    return out;
}

bool Utf8Case::Equal(std::string_view a, std::string_view b) {
    if (IsAscii(a) && IsAscii(b)) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i) {
            if (AsciiLower(a[i]) != AsciiLower(b[i]))
                return false;
        }
        return true;
    }
    return Fold(a) == Fold(b);
}

} // namespace brumo
