#pragma once

#include <string>
#include <string_view>

namespace brumo {

// Text that older stores hold in an 8-bit code page. The program keeps UTF-8 only, so
// bytes that do not form UTF-8 are taken as Windows-1252 and converted.
class LegacyText {
public:
    // Well-formed UTF-8: no overlong forms, surrogates or code points above U+10FFFF.
    static bool IsValidUtf8(std::string_view text);
    // Every byte is one Windows-1252 character.
    static std::string Windows1252ToUtf8(std::string_view bytes);
    // The text itself when it is valid UTF-8, else its Windows-1252 reading.
    static std::string ToUtf8(std::string_view bytes);
};

} // namespace brumo
