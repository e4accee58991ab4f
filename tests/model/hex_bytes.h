#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

namespace brumo::test {

// "06 0C 42" -> the three bytes; whitespace between pairs is ignored.
inline std::string Hex(std::string_view text) {
    std::string bytes;
    std::istringstream in{std::string(text)};
    std::string pair;
    while (in >> pair)
        bytes += static_cast<char>(std::stoi(pair, nullptr, 16));
    return bytes;
}

inline std::string ToHex(std::string_view bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

} // namespace brumo::test
