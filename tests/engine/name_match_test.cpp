#include "engine/name_match.h"
#include "engine/protection.h"

#include <gtest/gtest.h>

#include <string>

namespace brumo {
namespace {

TEST(WildcardMatch, StarsQuestionMarksAndLiterals) {
    EXPECT_TRUE(NameMatch::WildcardMatch("", ""));
    EXPECT_FALSE(NameMatch::WildcardMatch("A", ""));
    EXPECT_TRUE(NameMatch::WildcardMatch("", "*"));
    EXPECT_TRUE(NameMatch::WildcardMatch("A.B.C", "*"));
    EXPECT_TRUE(NameMatch::WildcardMatch("A.B.C", "*.C"));
    EXPECT_TRUE(NameMatch::WildcardMatch("A.B.C", "A*C"));
    EXPECT_TRUE(NameMatch::WildcardMatch("AB", "A*B*"));
    EXPECT_FALSE(NameMatch::WildcardMatch("AB", "A*B?"));
    EXPECT_TRUE(NameMatch::WildcardMatch("A.", "A?"));
    EXPECT_FALSE(NameMatch::WildcardMatch("A", "A?"));
    EXPECT_FALSE(NameMatch::WildcardMatch("abc", "ABC")); // no folding at this level
    // Back-tracking: the first candidate for a star is not always the one that fits.
    EXPECT_TRUE(NameMatch::WildcardMatch("XAAB", "*AB"));
    EXPECT_TRUE(NameMatch::WildcardMatch("ABABAC", "*AB*AC"));
    EXPECT_FALSE(NameMatch::WildcardMatch("ABABAD", "*AB*AC"));
    EXPECT_TRUE(NameMatch::WildcardMatch("MISSISSIPPI", "M*ISS*?P*I"));
    // A pathological pattern must not take exponential time.
    const std::string longText(200, 'A');
    EXPECT_FALSE(NameMatch::WildcardMatch(longText, "*A*A*A*A*A*A*A*A*A*A*A*B"));
}

TEST(WildcardMatch, QuestionMarkTakesOneWholeCharacter) {
    EXPECT_TRUE(NameMatch::WildcardMatch("CAF\xC3\xA9", "CAF?"));
    EXPECT_FALSE(NameMatch::WildcardMatch("CAF\xC3\xA9", "CAF??"));
    EXPECT_TRUE(NameMatch::WildcardMatch("\xC3\xA9X", "*X"));
}

TEST(MatchSpec, DotRuleAndCase) {
    EXPECT_TRUE(NameMatch::MatchSpec("README", "*.*"));
    EXPECT_TRUE(NameMatch::MatchSpec("README", "*."));
    EXPECT_TRUE(NameMatch::MatchSpec("README", "README."));
    EXPECT_FALSE(NameMatch::MatchSpec("README", "README")); // no dot, no star: never
    EXPECT_FALSE(NameMatch::MatchSpec("README.TXT", "README"));
    EXPECT_TRUE(NameMatch::MatchSpec("readme.txt", "READ*"));
    EXPECT_TRUE(NameMatch::MatchSpec("README", "READ*"));
    EXPECT_TRUE(NameMatch::MatchSpec("notes.txt", "*.*"));
    EXPECT_FALSE(NameMatch::MatchSpec("notes.txt", "*."));
    EXPECT_TRUE(NameMatch::MatchSpec("file1.tmp", "file?.tmp"));
    EXPECT_FALSE(NameMatch::MatchSpec("file.tmp", "file?.tmp"));
    EXPECT_FALSE(NameMatch::MatchSpec("file12.tmp", "file?.tmp"));
    EXPECT_TRUE(NameMatch::MatchSpec("FILE1.TMP", "file?.tmp"));
    // Only ASCII letters are folded.
    EXPECT_FALSE(NameMatch::MatchSpec("\xC3\x89T\xC3\x89.TXT", "\xC3\xA9t\xC3\xA9.txt"));
    EXPECT_TRUE(NameMatch::MatchSpec("\xC3\xA9T\xC3\xA9.TXT", "\xC3\xA9t\xC3\xA9.txt"));
}

TEST(HasNoExtension, LastDotAfterLastSeparator) {
    EXPECT_TRUE(NameMatch::HasNoExtension("README"));
    EXPECT_TRUE(NameMatch::HasNoExtension("README."));
    EXPECT_TRUE(NameMatch::HasNoExtension("*"));
    EXPECT_TRUE(NameMatch::HasNoExtension("*."));
    EXPECT_FALSE(NameMatch::HasNoExtension("*.*"));
    EXPECT_FALSE(NameMatch::HasNoExtension("a.tmp"));
    EXPECT_FALSE(NameMatch::HasNoExtension(".bashrc"));
    EXPECT_TRUE(NameMatch::HasNoExtension("C:\\dir.d\\file"));
    EXPECT_TRUE(NameMatch::HasNoExtension("a.b:stream"));
    EXPECT_TRUE(NameMatch::HasNoExtension(""));
}

TEST(Protection, WildcardEntriesOnLongAndShortNames) {
    const std::vector<std::string> protects = {"README.", "file?.tmp"};
    EXPECT_TRUE(Protection::IsProtectedBy(protects, "C:\\T", "README", "README"));
    EXPECT_FALSE(Protection::IsProtectedBy(protects, "C:\\T", "README.TXT", "README.TXT"));
    EXPECT_TRUE(Protection::IsProtectedBy(protects, "C:\\T", "file1.tmp", "file1.tmp"));
    EXPECT_FALSE(Protection::IsProtectedBy(protects, "C:\\T", "file12.tmp", "file12.tmp"));
    // The short name alone may carry the match.
    EXPECT_TRUE(Protection::IsProtectedBy(protects, "C:\\T", "file9 long name.tmp", "FILE9.TMP"));
    EXPECT_TRUE(Protection::IsProtectedBy({"*.*"}, "C:\\T", "anything", "anything"));
    EXPECT_FALSE(Protection::IsProtectedBy({"README"}, "C:\\T", "README", "README"));
    EXPECT_FALSE(Protection::IsProtectedBy({}, "C:\\T", "README", "README"));
    const std::vector<std::string> readStar = {"READ*"};
    EXPECT_TRUE(Protection::IsProtectedBy(readStar, "C:\\T", "README", "README"));
    EXPECT_TRUE(Protection::IsProtectedBy(readStar, "C:\\T", "README.TXT", "README.TXT"));
}

TEST(Protection, FullNamesCompareWholeIgnoringCase) {
    EXPECT_TRUE(Protection::IsFullName("C:\\TEMP\\keep.tmp"));
    EXPECT_FALSE(Protection::IsFullName("keep:tmp"));
    EXPECT_FALSE(Protection::IsFullName("\\\\srv\\x:y"));
    const std::vector<std::string> protects = {"C:\\TEMP\\keep.tmp"};
    EXPECT_TRUE(Protection::IsProtectedBy(protects, "c:\\temp", "KEEP.TMP", "KEEP.TMP"));
    EXPECT_FALSE(Protection::IsProtectedBy(protects, "C:\\TEMP\\sub", "keep.tmp", "keep.tmp"));
    EXPECT_FALSE(Protection::IsProtectedBy(protects, "C:\\TEMP", "keep.tmp2", "keep.tmp2"));
    // Wildcards in a full name are plain characters.
    EXPECT_FALSE(Protection::IsProtectedBy({"C:\\TEMP\\*.tmp"}, "C:\\TEMP", "a.tmp", "a.tmp"));
    EXPECT_TRUE(Protection::IsProtectedBy({"C:\\TEMP\\KEEPLO~1.TMP"}, "C:\\TEMP", "keep long.tmp",
                                          "KEEPLO~1.TMP"));
    // Trailing periods and blanks name the file without them, as on Windows; the name as typed
    // still counts where a file system keeps it.
    const std::vector<std::string> dotted = {"C:\\Data\\keep.txt. ."};
    EXPECT_TRUE(Protection::IsProtectedBy(dotted, "C:\\Data", "keep.txt", "keep.txt"));
    EXPECT_TRUE(Protection::IsProtectedBy(dotted, "C:\\Data", "keep.txt. .", "keep.txt. ."));
    EXPECT_FALSE(Protection::IsProtectedBy(dotted, "C:\\Data", "keep.tx", "keep.tx"));
}

} // namespace
} // namespace brumo
