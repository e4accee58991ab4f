#include "runs/held_pattern.h"

#include "platform/locale_info.h"

#include <string>
#include <vector>

namespace brumo {

namespace {

// The characters of UTF-8 text, each as its own bytes.
std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> out;
    for (size_t i = 0; i < text.size();) {
        size_t end = i + 1;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
        out.push_back(text.substr(i, end - i));
        i = end;
    }
    return out;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a == b)
        return true;
    if (a.size() == 1 && b.size() == 1) {
        const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
        return upper(a[0]) == upper(b[0]);
    }
    return LocaleInfo::EqualIgnoreCase(a, b);
}

// Greedy matching with one back-track point, the latest "*".
bool Match(const std::vector<std::string_view>& text,
           const std::vector<std::string_view>& pattern) {
    size_t t = 0, p = 0, starP = pattern.size(), starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == "*") {
            starP = p++;
            starT = t;
            continue;
        }
        if (p < pattern.size() && (pattern[p] == "?" || SameIgnoringCase(pattern[p], text[t]))) {
            ++t;
            ++p;
            continue;
        }
        if (starP == pattern.size())
            return false;
        p = starP + 1;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == "*")
        ++p;
    return p == pattern.size();
}

} // namespace

bool HeldPattern::HasWildcards(std::string_view pattern) {
    return pattern.find_first_of("*?") != std::string_view::npos;
}

bool HeldPattern::Matches(std::string_view path, std::string_view pattern) {
    const std::vector<std::string_view> wanted = Characters(pattern);
    std::vector<std::string_view> text = Characters(path);
    if (Match(text, wanted))
        return true;
    if (path.find('.', path.find_last_of('\\') + 1) != std::string_view::npos)
        return false;
    text.push_back(".");
    return Match(text, wanted);
}

} // namespace brumo
