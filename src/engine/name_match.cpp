#include "engine/name_match.h"

#include <cstddef>

namespace brumo {

namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The text a matcher sees: the name, optionally followed by one dot that is not stored, so
// that matching allocates nothing.
struct Subject {
    std::string_view text;
    bool extraDot;
    bool fold;

    size_t Size() const { return text.size() + (extraDot ? 1 : 0); }
    char At(size_t i) const {
        const char c = i < text.size() ? text[i] : '.';
        return fold ? Upper(c) : c;
    }
    // One character further: a UTF-8 sequence counts as one character, as on a system
    // that matches whole characters.
    size_t Next(size_t i) const {
        ++i;
        while (i < text.size() && IsContinuation(text[i]))
            ++i;
        return i;
    }
};

// Greedy matching with a single back-track point (the latest "*"): equivalent to trying every
// split for each star, but linear in practice and never exponential.
bool Match(const Subject& s, std::string_view pattern, bool fold) {
    const size_t n = s.Size();
    size_t t = 0, p = 0;
    size_t starP = std::string_view::npos, starT = 0;
    while (t < n) {
        if (p < pattern.size()) {
            const char pc = fold ? Upper(pattern[p]) : pattern[p];
            if (pc == '*') {
                starP = p++;
                starT = t;
                continue;
            }
            if (pc == '?') {
                t = s.Next(t);
                ++p;
                continue;
            }
            if (pc == s.At(t)) {
                ++t;
                ++p;
                continue;
            }
        }
        if (starP == std::string_view::npos)
            return false;
        p = starP + 1;
        starT = s.Next(starT);
        t = starT;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool NameMatch::WildcardMatch(std::string_view text, std::string_view pattern) {
    return Match(Subject{text, false, false}, pattern, false);
}

bool NameMatch::MatchSpec(std::string_view name, std::string_view spec) {
    const bool noDot = name.find('.') == std::string_view::npos;
    return Match(Subject{name, noDot, true}, spec, true);
}

bool NameMatch::HasNoExtension(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return true;
    const size_t sep = name.find_last_of("\\:");
    if (sep != std::string_view::npos && sep > dot)
        return true;
    return dot + 1 == name.size();
}

} // namespace brumo
