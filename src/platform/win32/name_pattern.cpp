#include "platform/win32/name_pattern.h"

#include "platform/win32/win_text.h"

#include <string>

namespace brumo {

namespace {
// Iterative match with one back-tracking point per "*": linear in practice, never exponential.
bool Wildcard(std::wstring_view text, std::wstring_view pattern) {
    size_t t = 0, p = 0;
    size_t starP = std::wstring_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starP = p++;
            starT = t;
        } else if (starP != std::wstring_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}
} // namespace

bool NamePattern::Matches(std::wstring_view name, std::wstring_view pattern) {
    const std::wstring n = WinText::Upper(name);
    const std::wstring p = WinText::Upper(pattern);
    if (Wildcard(n, p))
        return true;
    return n.find(L'.') == std::wstring::npos && Wildcard(n + L".", p);
}

} // namespace brumo
