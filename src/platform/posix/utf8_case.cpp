#include "platform/posix/utf8_case.h"

#include "platform/posix/user_locale.h"

#include <cstdint>
#include <cstring>
#include <wctype.h>

namespace brumo {

namespace {

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::optional<char32_t> Utf8Case::DecodeOne(std::string_view text, size_t& i) {
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
        return cp;
    }
    ++i;
    return std::nullopt;
}

bool Utf8Case::IsAscii(std::string_view text) {
    // Eight bytes at a time: every name of a folder is tested against every pattern.
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}

std::wstring Utf8Case::Fold(std::string_view text) {
    const locale_t loc = UserLocale::Neutral();
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t start = i;
        if (const std::optional<char32_t> cp = DecodeOne(text, i))
            out.push_back(static_cast<wchar_t>(towupper_l(static_cast<wint_t>(*cp), loc)));
        else
            out.push_back(static_cast<wchar_t>(0xDC00 + static_cast<unsigned char>(text[start])));
    }
    return out;
}

std::u16string Utf8Case::UpperUtf16(std::string_view text) {
    const locale_t loc = UserLocale::Neutral();
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t start = i;
        char32_t cp = 0xDC00 + static_cast<unsigned char>(text[start]);
        if (const std::optional<char32_t> decoded = DecodeOne(text, i))
            cp = static_cast<char32_t>(towupper_l(static_cast<wint_t>(*decoded), loc));
        if (cp > 0xFFFF) {
            const char32_t v = cp - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

bool Utf8Case::Equal(std::string_view a, std::string_view b) {
    if (IsAscii(a) && IsAscii(b)) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i) {
            if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
                return false;
        }
        return true;
    }
    return Fold(a) == Fold(b);
}

} // namespace brumo
