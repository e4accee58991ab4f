#include "cli/text_columns.h"

#include <cstdint>

namespace brumo {

namespace {

// Columns a character takes on a terminal: none for combining marks and zero-width
// characters, two for the wide characters of East Asian scripts and emoji.
size_t ColumnsOf(uint32_t c) {
    struct Range {
        uint32_t first, last;
    };
    static constexpr Range zero[] = {{0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD},
                                     {0x0610, 0x061A}, {0x064B, 0x065F}, {0x1AB0, 0x1AFF},
                                     {0x1DC0, 0x1DFF}, {0x200B, 0x200F}, {0x20D0, 0x20FF},
                                     {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}};
    static constexpr Range wide[] = {{0x1100, 0x115F},   {0x2E80, 0x303E},  {0x3041, 0x33FF},
                                     {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},  {0xA000, 0xA4CF},
                                     {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},  {0xFE30, 0xFE4F},
                                     {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},  {0x1F300, 0x1F64F},
                                     {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD}};
    for (const Range& r : zero)
        if (c >= r.first && c <= r.last)
            return 0;
    for (const Range& r : wide)
        if (c >= r.first && c <= r.last)
            return 2;
    return 1;
}

} // namespace

size_t TextColumns::Width(const std::string& text) {
    size_t columns = 0;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        uint32_t c = length == 1 ? lead : lead & (0x7F >> length);
        size_t n = 1;
        for (; n < length && i + n < text.size(); ++n) {
            const auto next = static_cast<unsigned char>(text[i + n]);
            if ((next & 0xC0) != 0x80)
                break;
            c = c << 6 | (next & 0x3F);
        }
        // A byte that starts no valid sequence takes one column, as a terminal shows it.
        columns += n == length ? ColumnsOf(c) : 1;
        i += n;
    }
    return columns;
}

std::string TextColumns::PadRight(const std::string& text, size_t width) {
    const size_t used = Width(text);
    return used >= width ? text : text + std::string(width - used, ' ');
}

std::string TextColumns::PadLeft(const std::string& text, size_t width) {
    const size_t used = Width(text);
    return used >= width ? text : std::string(width - used, ' ') + text;
}

} // namespace brumo
