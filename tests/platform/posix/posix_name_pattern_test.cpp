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
    // Undecodable bytes only equal themselves.
    Check({"a\xff*", {"a\xff", "A\xffz"}, {"a\xfe", "a"}});
}

TEST(NamePattern, EmptyPatternFindsNothing) {
    Check({"", {}, {"a", "README", "."}});
}

} // namespace
} // namespace brumo
