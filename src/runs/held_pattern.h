#pragma once

#include <string_view>

namespace brumo {

// A pattern naming held files by their original paths: "*" any run of characters, backslashes
// too, "?" one character. Letters compare as file names do where case is ignored, character
// by character ("CAFÉ" names "café"); a name without a dot matches as if it ended in one, so
// "*.*" takes it too.
class HeldPattern {
public:
    static bool HasWildcards(std::string_view pattern);
    static bool Matches(std::string_view path, std::string_view pattern);
};

} // namespace brumo
