#pragma once

#include <string_view>

namespace brumo {

// Wildcard matching of file names against protect entries: "*" any run of characters,
// "?" exactly one character, everything else literal. No escape character.
class NameMatch {
public:
    // Exact character comparison; the caller folds case if it wants to.
    static bool WildcardMatch(std::string_view text, std::string_view pattern);
    // A name without a dot is matched as if it ended in one, so "*.*" and "*." match it;
    // ASCII letters compare without regard to case, other characters exactly.
    static bool MatchSpec(std::string_view name, std::string_view spec);
    // The extension runs from the last dot after the last backslash or colon; true when it
    // is empty or just ".".
    static bool HasNoExtension(std::string_view name);
};

} // namespace brumo
