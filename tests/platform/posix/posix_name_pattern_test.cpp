#include "platform/posix/name_pattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brumo {
namespace {

struct Case {
    const char* pattern;
    std::vector<const char*> match;
    std::vector<const char*> miss;
};

void Check(const Case& c) {
    NamePattern p(c.pattern);
    for (const char* name : c.match)
        EXPECT_TRUE(p.Matches(name)) << c.pattern << " should find " << name;
    for (const char* name : c.miss)
        EXPECT_FALSE(p.Matches(name)) << c.pattern << " should not find " << name;
}

TEST(NamePattern, StarDotStarAlsoFindsNamesWithoutDot) {
    Check({"*", {"README", "notes.txt", ".profile", "a.b.c", "x"}, {}});
    Check({"*.*", {"README", "notes.txt", ".profile", "a.b.c", "trailing."}, {}});
    Check({"**", {"README", "a.b"}, {}});
}

TEST(NamePattern, TrailingDotFindsNamesWithoutExtension) {
    Check({"*.", {"README", "Makefile", "odd."}, {"notes.txt", "a.b", ".profile"}});
    Check({"README.", {"README", "readme", "README."}, {"README.TXT", "READMEX"}});
    Check({"READ*.", {"README", "read"}, {"README.TXT"}});
}

TEST(NamePattern, ExtensionShapesIgnoreCaseAndUseTheLastPart) {
    Check({"*.tmp", {"a.tmp", "A.TMP", "x.y.Tmp", ".tmp"}, {"a.tmp.bak", "atmp", "a.tm", "tmp"}});
    Check({"*.??$", {"setup.ex$", "A.DL$", "x.y.ab$"}, {"a.abc$", "a.a$", "ab$", "a.ab$x"}});
    Check({"*~", {"notes.txt~", "~"}, {"notes.txt"}});
}

TEST(NamePattern, QuestionMarkIsExactlyOneCharacter) {
    Check({"file?.tmp", {"file1.tmp", "FILEx.TMP", "file..tmp"}, {"file.tmp", "file12.tmp"}});
    Check({"file???._dd",
           {"file123._dd", "FILEABC._DD", "file1.2._dd"},
           {"file12._dd", "file1234._dd", "file123.dd"}});
    Check({"?", {"a", "é", "Я"}, {"ab", "a.b"}});
    // One character, not one byte: a two-byte letter fills one "?".
    Check({"caf?.txt", {"café.txt", "cafe.txt"}, {"cafée.txt"}});
}

TEST(NamePattern, LeadingLiteralWithStars) {
    Check({"~*.*", {"~x.tmp", "~WRL0001.tmp", "~", "~lock"}, {"x~.tmp", "a.~b"}});
    Check({"*a*b*", {"ab", "xxaxxbxx", "A.B"}, {"ba", "b"}});
    // Backtracking across several stars and repeated letters.
    Check({"*aab*aab", {"aabaab", "xaaabyaaab", "aaaaabaaaab"}, {"aabaa", "abab"}});
}

TEST(NamePattern, LiteralNamesMatchWhole) {
    Check({"index.dat", {"index.dat", "INDEX.DAT", "Index.Dat"}, {"index.dat.bak", "xindex.dat"}});
    Check({"README", {"README", "readme"}, {"README.TXT", "READ"}});
}

TEST(NamePattern, CaseFoldingCoversNonAsciiLetters) {
    Check({"ÉTÉ.TXT", {"été.txt", "ÉTÉ.TXT"}, {"ete.txt"}});
    Check({"*.ДОК", {"отчёт.док", "X.Док"}, {"x.doc"}});
    Check({"straße*", {"STRAßE.txt", "straße"}, {"strasse"}});
    Check({"Ωμέγα.*", {"ΩΜΈΓΑ.txt", "ωμέγα"}, {}});
    Check({"*.~*", {"été.~1", "É.~", "x.~é"}, {"été~.txt", "é.t~"}});
    // Undecodable bytes only equal themselves.
    Check({"a\xff*", {"a\xff", "A\xffz"}, {"a\xfe", "a"}});
}

// Each code point by its simple upper case, as Windows compares names: the dotted capital I
// and the Kelvin sign are letters of their own, the dotless i is an I. A literal name and a
// wildcard agree.
TEST(NamePattern, CaseFollowsTheSimpleUpperCaseOnly) {
    Check({"\u01301.tmp", {"\u01301.TMP"}, {"I1.tmp", "i1.tmp"}});
    Check({"\u0130?.tmp", {"\u01301.tmp"}, {"I1.tmp", "i1.tmp"}});
    Check({"kx.tmp", {"KX.TMP"}, {"\u212Ax.tmp"}});
    Check({"k?.tmp", {"KX.TMP"}, {"\u212Ax.tmp"}});
    Check({"i1.tmp", {"\u01311.tmp"}, {}});
    Check({"*I1.TMP", {"\u01311.tmp"}, {}});
}

TEST(NamePattern, EmptyPatternFindsNothing) {
    Check({"", {}, {"a", "README", "."}});
}

// ASCII names against ASCII patterns take a byte-wise path; a non-ASCII letter at the end of
// both forces the decoding path, which must give the same answer.
TEST(NamePattern, AsciiPathAgreesWithTheDecodingPath) {
    const char patternChars[] = "aB.*?~$";
    const char nameChars[] = "abAB.~$";
    uint32_t seed = 12345;
    const auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int k = 0; k < 20000; ++k) {
        std::string pattern, name;
        for (uint32_t i = next(7); i > 0; --i)
            pattern += patternChars[next(7)];
        for (uint32_t i = next(8); i > 0; --i)
            name += nameChars[next(7)];
        if (name.find('.') == std::string::npos)
            name += '.'; // keeps the appended-dot rule out of the comparison
        EXPECT_EQ(NamePattern(pattern).Matches(name),
                  NamePattern(pattern + "\xC3\xA9").Matches(name + "\xC3\x89"))
            << pattern << " / " << name;
    }
}

} // namespace
} // namespace brumo
