#pragma once

#include <cstddef>
#include <string>

namespace brumo {

// Table cells for a terminal: widths in columns on screen, not in bytes, so that names with
// accents, combining marks or wide characters line up.
class TextColumns {
public:
    static size_t Width(const std::string& text);
    static std::string PadRight(const std::string& text, size_t width);
    static std::string PadLeft(const std::string& text, size_t width);
};

} // namespace brumo
