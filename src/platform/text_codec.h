#pragma once

#include <string>
#include <string_view>

namespace brumo {

// Strings are UTF-8 inside the program on every platform.
class TextCodec {
public:
    // UTF-16LE bytes (2 per code unit) to UTF-8; unpaired surrogates become U+FFFD.
    static std::string Utf16LeToUtf8(std::string_view bytes);
    static bool IsSevenBit(std::string_view text);
    // Appends the UTF-8 form of one code point.
    static void AppendUtf8(std::string& out, char32_t cp);
};

} // namespace brumo
