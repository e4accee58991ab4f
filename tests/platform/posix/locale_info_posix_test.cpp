#include "platform/locale_info.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

// Case folding letter by letter: no expansions (Windows' own comparison treats "ß" as "ss").
TEST(LocaleInfoPosix, SharpSIsNoDoubleS) {
    EXPECT_FALSE(LocaleInfo::EqualIgnoreCase("Straße", "STRASSE"));
}

// The dotted capital I and the Kelvin sign upper-case to themselves: no other file's name.
TEST(LocaleInfoPosix, NamesCompareByTheSimpleUpperCase) {
    EXPECT_FALSE(LocaleInfo::EqualIgnoreCase("C:\\T\\\xC4\xB0"
                                             "1.tmp",
                                             "C:\\T\\I1.tmp"));
    EXPECT_FALSE(LocaleInfo::EqualIgnoreCase("C:\\T\\\xC4\xB0"
                                             "1.tmp",
                                             "C:\\T\\i1.tmp"));
    EXPECT_FALSE(LocaleInfo::EqualIgnoreCase("\xE2\x84\xAA"
                                             "x.tmp",
                                             "kx.tmp"));
    EXPECT_TRUE(LocaleInfo::EqualIgnoreCase("\xC4\xB1"
                                            "1.tmp",
                                            "I1.TMP"));
    EXPECT_TRUE(LocaleInfo::EqualIgnoreCase("\xC3\xA9t\xC3\xA9.txt", "\xC3\x89T\xC3\x89.TXT"));
}

} // namespace
} // namespace brumo
