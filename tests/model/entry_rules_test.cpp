#include "model/entry_rules.h"

#include <gtest/gtest.h>

#include <tuple>

namespace brumo {
namespace {

// The window tests go through every example; these are the edges between the rules.
TEST(EntryRulesTest, SpecificationVerdictsAndOk) {
    // text, verdict, OK
    const std::tuple<std::string, std::string, bool> cases[] = {
        // The verdict splits at the last period, OK looks at the first one.
        {"..txt", "Note: Matches exact filename only", false},
        {"~*.", "Note: Only matches files with no extension", true},
        {"x.\xc3\xa9\xc3\xa9\xc3\xa9", "Note: Matches exact filename only", true}, // 3 characters
        {"?.*", "", true},
        {"a*.", "Note: Only matches files with no extension", true},
    };
    for (const auto& [text, verdict, ok] : cases) {
        EXPECT_EQ(EntryRules::SpecVerdict(text), verdict) << text;
        EXPECT_EQ(EntryRules::SpecAcceptable(text), ok) << text;
    }
}

TEST(EntryRulesTest, RefusedCharactersAreDropped) {
    EXPECT_EQ(EntryRules::WithoutRefused("C:\\temp\\x.txt", EntryRules::SpecRefused), "Ctempx.txt");
    EXPECT_EQ(EntryRules::WithoutRefused("\"a/b<c>d|e*?.t", EntryRules::SpecRefused), "abcde*?.t");
    EXPECT_EQ(EntryRules::WithoutRefused("C:\\a*b?c<d>e|f\"g/h", EntryRules::NameRefused),
              "C:\\abcdefg/h");
}

TEST(EntryRulesTest, FullNameVerdictsAndOk) {
    std::string asked;
    auto exists = [&asked](const std::string& path) {
        asked = path;
        return path == "C:\\here.txt";
    };
    EXPECT_EQ(EntryRules::NameVerdict("x.txt", exists), "Enter full path");
    EXPECT_EQ(asked, "");
    EXPECT_EQ(EntryRules::NameVerdict("C:\\here.txt", exists), "File exists");
    EXPECT_EQ(EntryRules::NameVerdict("C:\\nothere.txt", exists), "File does not exist");
    EXPECT_EQ(asked, "C:\\nothere.txt");

    EXPECT_TRUE(EntryRules::NameAcceptable("C:\\nothere.txt"));
    EXPECT_TRUE(EntryRules::NameAcceptable("d:\\"));
    for (const char* text : {"", "C:", "C:/x", ":\\x", "CC:\\x", "\\\\server\\share\\x", "x.txt"})
        EXPECT_FALSE(EntryRules::NameAcceptable(text)) << text;
    EXPECT_FALSE(EntryRules::NameAcceptable("\xc3\xa9\xc3\xa9:\\x"));
}

} // namespace
} // namespace brumo
