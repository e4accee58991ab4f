#pragma once

#include <string_view>

namespace brumo {

// The order in which a depth-first walk reaches folders given by their paths relative to the
// walk's root ("" the root, "\a\b" below it): a folder before everything below it, subfolders
// of one folder in listing order.
class WalkOrder {
public:
    enum class Place { Ancestor, Same, Earlier, Descendant, Later };
    // Where folder `a` stands against folder `b`.
    static Place Of(std::string_view a, std::string_view b);
    // Whether the walk reaches `a` before `b`.
    static bool Before(std::string_view a, std::string_view b);
    // The name that begins after the backslash at `at`, and where the next backslash (or the
    // end) is.
    static std::string_view NameAfter(std::string_view path, size_t at, size_t& next);
};

} // namespace brumo
