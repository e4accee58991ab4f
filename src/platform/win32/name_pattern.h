#pragma once

#include <string_view>

namespace brumo {

// The directory search's wildcard rules, used to confirm what the system search returned:
// "*" any run, "?" exactly one character, letters without regard to case, and a name without
// a dot also tried with one appended, so "*.*" finds it and "name." finds only "name".
class NamePattern {
public:
    static bool Matches(std::wstring_view name, std::wstring_view pattern);
};

} // namespace brumo
