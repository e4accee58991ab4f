#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>

namespace brumo {

// Names and paths kept as file names compare: ignoring case, in the user's locale. Hashing
// keeps a lookup constant in time where comparing in the locale's order would cost a fifth of
// a walk.
struct CaseBlindHash {
    // Equal for any two strings that are equal ignoring case.
    size_t operator()(const std::string& text) const;
};

struct CaseBlindEqual {
    bool operator()(const std::string& a, const std::string& b) const;
};

using CaseBlindSet = std::unordered_set<std::string, CaseBlindHash, CaseBlindEqual>;

} // namespace brumo
