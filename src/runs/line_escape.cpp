#include "runs/line_escape.h"

namespace brumo {

namespace {
bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}
} // namespace

std::string LineEscape::Of(std::string_view text) {
    bool plain = true;
    for (const char c : text)
        if (c == '^' || IsControl(static_cast<unsigned char>(c)))
            plain = false;
    if (plain)
        return std::string(text);
    std::string line;
    line.reserve(text.size() + 8);
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '^')
            line += "^^";
        else if (IsControl(u))
            line += {'^', static_cast<char>(u ^ 0x40)};
        else
            line += c;
    }
    return line;
}

std::string LineEscape::Undo(std::string_view line) {
    std::string text;
    text.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '^' && i + 1 < line.size()) {
            const char next = line[++i];
            text += next == '^' ? '^' : static_cast<char>(static_cast<unsigned char>(next) ^ 0x40);
        } else {
            text += line[i];
        }
    }
    return text;
}

} // namespace brumo
