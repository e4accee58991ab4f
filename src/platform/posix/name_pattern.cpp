#include "platform/posix/name_pattern.h"

#include "platform/posix/user_locale.h"
#include "platform/posix/utf8_case.h"

#include <algorithm>
#include <cctype>
#include <wctype.h>

namespace brumo {

namespace {

// Wildcards and undecodable bytes get values above the Unicode range so that they never
// equal a character of a name.
constexpr char32_t kStar = 0x110000;
constexpr char32_t kAnyOne = 0x110001;
constexpr char32_t kRawByte = 0x110100; // + the byte

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool EqualsAsciiFolded(std::string_view text, std::string_view lowerLiteral) {
    if (text.size() != lowerLiteral.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (LowerAscii(text[i]) != lowerLiteral[i])
            return false;
    }
    return true;
}

bool EndsWithAsciiFolded(std::string_view text, std::string_view lowerLiteral) {
    return text.size() >= lowerLiteral.size() &&
           EqualsAsciiFolded(text.substr(text.size() - lowerLiteral.size()), lowerLiteral);
}

// Decodes one UTF-8 sequence at text[i], advancing i. A byte that does not start a
// well-formed sequence stands for itself.
char32_t DecodeOne(std::string_view text, size_t& i) {
    const size_t start = i;
    return Utf8Case::DecodeOne(text, i).value_or(kRawByte +
                                                 static_cast<unsigned char>(text[start]));
}

// "*" and "?" semantics by the usual greedy walk that backtracks to the last star; this
// accepts exactly what the recursive definition accepts, in linear space.
bool MatchCodes(std::u32string_view pattern, std::u32string_view text) {
    size_t p = 0;
    size_t t = 0;
    size_t starP = std::u32string_view::npos;
    size_t starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == kAnyOne || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == kStar) {
            starP = p++;
            starT = t;
        } else if (starP != std::u32string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == kStar)
        ++p;
    return p == pattern.size();
}

// MatchCodes for an ASCII pattern and an ASCII name: there the bytes are the characters and
// folding is ASCII folding, so nothing needs decoding. This is the common case of a search.
bool MatchAscii(std::string_view pattern, std::string_view name, bool appendDot) {
    const size_t n = name.size() + (appendDot ? 1 : 0);
    const auto at = [&](size_t i) { return i < name.size() ? LowerAscii(name[i]) : '.'; };
    size_t p = 0;
    size_t t = 0;
    size_t starP = std::string_view::npos;
    size_t starT = 0;
    while (t < n) {
        if (p < pattern.size() && pattern[p] != '*' && (pattern[p] == '?' || pattern[p] == at(t))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

char32_t NamePattern::FoldCase(char32_t c) {
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 32 : c;
    if (c > 0x10FFFF)
        return c;
    // The same folding as every other name comparison of the platform layer.
    static const locale_t neutral = UserLocale::Neutral();
    return static_cast<char32_t>(::towupper_l(static_cast<wint_t>(c), neutral));
}

NamePattern::NamePattern(std::string_view pattern) {
    const std::string_view original = pattern;
    const bool ascii = Utf8Case::IsAscii(pattern);
    const size_t firstWild = pattern.find_first_of("*?");
    if (pattern.find_first_not_of('*') == std::string_view::npos || pattern == "*.*") {
        // An empty pattern finds nothing: leave it to the general matcher.
        if (!pattern.empty()) {
            shape_ = Shape::Everything;
            return;
        }
    } else if (ascii && firstWild == std::string_view::npos) {
        shape_ = Shape::Literal;
    } else if (ascii && pattern[0] == '*' &&
               pattern.find_first_of("*?", 1) == std::string_view::npos) {
        shape_ = Shape::Suffix;
        pattern.remove_prefix(1);
    }
    if (shape_ != Shape::General) {
        literal_.reserve(pattern.size());
        for (char c : pattern)
            literal_ += LowerAscii(c);
        // A name beyond ASCII may still match: the dotless i upper-cases to "I".
        pattern = original;
    } else if (ascii) {
        for (char c : pattern)
            if (c != '*' || asciiCodes_.empty() || asciiCodes_.back() != '*')
                asciiCodes_ += LowerAscii(c);
        // Junk patterns mostly hinge on a rare mark ("*.~*", "*.??$"): looking for it first
        // turns most names away without running the matcher.
        for (char c : pattern) {
            const auto u = static_cast<unsigned char>(c);
            if (u > ' ' && u < 0x7F && c != '*' && c != '?' && c != '.' && !std::isalpha(u)) {
                required_ = c;
                break;
            }
        }
    }
    for (size_t i = 0; i < pattern.size();) {
        if (pattern[i] == '*') {
            ++i;
            if (codes_.empty() || codes_.back() != kStar)
                codes_ += kStar;
        } else if (pattern[i] == '?') {
            ++i;
            codes_ += kAnyOne;
        } else {
            codes_ += FoldCase(DecodeOne(pattern, i));
        }
    }
}

bool NamePattern::Matches(std::string_view name) const {
    if (required_ && name.find(required_) == std::string_view::npos)
        return false;
    // A name without a dot is also tried with one appended, which is how "*.*", "*." and
    // "README." find "README".
    const bool dotless = name.find('.') == std::string_view::npos;
    switch (shape_) {
    case Shape::Everything:
        return true;
    case Shape::Literal:
        if (!Utf8Case::IsAscii(name))
            break;
        if (EqualsAsciiFolded(name, literal_))
            return true;
        return dotless && !literal_.empty() && literal_.back() == '.' &&
               EqualsAsciiFolded(name, std::string_view(literal_).substr(0, literal_.size() - 1));
    case Shape::Suffix:
        if (!Utf8Case::IsAscii(name))
            break;
        if (EndsWithAsciiFolded(name, literal_))
            return true;
        return dotless && !literal_.empty() && literal_.back() == '.' &&
               EndsWithAsciiFolded(name, std::string_view(literal_).substr(0, literal_.size() - 1));
    case Shape::General:
        break;
    }
    return MatchesGeneral(name, false) || (dotless && MatchesGeneral(name, true));
}

bool NamePattern::MatchesGeneral(std::string_view name, bool appendDot) const {
    if (!asciiCodes_.empty() && Utf8Case::IsAscii(name))
        return MatchAscii(asciiCodes_, name, appendDot);
    // Names are short (a file system allows 255 bytes); longer texts take the heap.
    char32_t local[300];
    std::u32string heap;
    char32_t* codes = local;
    if (name.size() + 1 > std::size(local)) {
        heap.resize(name.size() + 1);
        codes = heap.data();
    }
    size_t n = 0;
    for (size_t i = 0; i < name.size();)
        codes[n++] = FoldCase(DecodeOne(name, i));
    if (appendDot)
        codes[n++] = U'.';
    return MatchCodes(codes_, std::u32string_view(codes, n));
}

} // namespace brumo
