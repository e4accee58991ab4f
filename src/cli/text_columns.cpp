#include "cli/text_columns.h"

#include <algorithm>

namespace brumo {

size_t TextColumns::Width(const std::string& text) {
    // UTF-8 continuation bytes take no column.
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
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
