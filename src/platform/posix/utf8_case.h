#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brumo {

// Case-insensitive handling of UTF-8 text as Windows compares file names: code point by code
// point through the simple upper-case mapping, the same for every language. No lower-case
// round trip, which would make the dotted capital I equal to "i" and the Kelvin sign equal to
// "k"; no special casing or language rules.
class Utf8Case {
public:
    // The code points of a UTF-8 string, each upper-cased. A byte that is not part of valid
    // UTF-8 stands for itself, as U+DC80 + its value, so that no two different byte strings
    // fold alike unless their letters do.
    static std::wstring Fold(std::string_view text);
    static bool Equal(std::string_view a, std::string_view b);

    // Decodes the UTF-8 sequence at text[i] and moves i past it. A byte that does not start a
    // well-formed sequence (cut short, overlong, a surrogate, beyond U+10FFFF) moves i past
    // itself alone and gives nullopt: what stands for it is the caller's choice.
    static std::optional<char32_t> DecodeOne(std::string_view text, size_t& i);
    // True when every byte is below 0x80.
    static bool IsAscii(std::string_view text);
    // The string upper-cased code point by code point, in UTF-16 code units: the key by which
    // NTFS orders the names of a folder.
    static std::u16string UpperUtf16(std::string_view text);
};

} // namespace brumo
