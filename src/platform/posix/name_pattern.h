#pragma once

#include <string>
#include <string_view>

namespace brumo {

// A file name pattern matched as the Windows directory search matches it: "*" is any run of
// characters, "?" one character, letters compare without regard to case (ASCII and UTF-8),
// "*.*" also matches a name without a dot, and a pattern ending in "." matches a name without
// an extension ("*." finds "README"). Compiled once and matched against every entry of a
// folder, so the common shapes ("*", "*.tmp", "index.dat") take a short path.
class NamePattern {
public:
    explicit NamePattern(std::string_view pattern);

    bool Matches(std::string_view name) const;

    // A code point folded for comparison: its simple upper case, as names compare everywhere
    // in the platform layer; above U+10FFFF unchanged.
    static char32_t FoldCase(char32_t c);

private:
    enum class Shape {
        Everything, // "*", "*.*"
        Literal,    // no wildcard at all (ASCII)
        Suffix,     // "*" and an ASCII literal tail, as "*.tmp" or "*."
        General
    };

    bool MatchesGeneral(std::string_view name, bool appendDot) const;

    Shape shape_ = Shape::General;
    std::string literal_;    // Literal and Suffix: the literal text, lower-case, for ASCII names
    std::u32string codes_;   // folded code points, wildcards as markers
    std::string asciiCodes_; // General, ASCII pattern: lower-case, "*" and "?" as they are
    // General: a character every matching name holds, one no other character folds to
    // (punctuation or a digit, never the dot an extensionless name is tried with); 0 if none.
    char required_ = 0;
};

} // namespace brumo
