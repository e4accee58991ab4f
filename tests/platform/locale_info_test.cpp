#include "platform/date_time.h"
#include "platform/locale_info.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

class LocaleInfoTest : public ::testing::Test {
protected:
    void TearDown() override { LocaleInfo::PinEnglish(false); }
};

TEST_F(LocaleInfoTest, CompareIgnoresCaseBeyondAscii) {
    EXPECT_EQ(LocaleInfo::CompareIgnoreCase("README.TXT", "readme.txt"), 0);
    EXPECT_EQ(LocaleInfo::CompareIgnoreCase("ÄRGER.BAK", "ärger.bak"), 0);
    EXPECT_EQ(LocaleInfo::CompareIgnoreCase("ΣΟΦΊΑ", "σοφία"), 0);
    EXPECT_LT(LocaleInfo::CompareIgnoreCase("apple", "Banana"), 0);
    EXPECT_GT(LocaleInfo::CompareIgnoreCase("Banana", "apple"), 0);
    EXPECT_LT(LocaleInfo::CompareIgnoreCase("abc", "ABCD"), 0);
    // Bytes that are no UTF-8 compare as themselves, never equal to a letter.
    EXPECT_NE(LocaleInfo::CompareIgnoreCase("\xC4", "\xE4"), 0);
    EXPECT_NE(LocaleInfo::CompareIgnoreCase("a\xFF", "A"), 0);
    // An order fit for a sorted set: antisymmetric and consistent with equality.
    for (auto [a, b] : {std::pair{"x-y", "xy"}, {"ä", "a"}, {"a\xFF", "A\xFE"}}) {
        EXPECT_EQ(LocaleInfo::CompareIgnoreCase(a, b), -LocaleInfo::CompareIgnoreCase(b, a));
        EXPECT_NE(LocaleInfo::CompareIgnoreCase(a, b), 0);
    }
}

TEST_F(LocaleInfoTest, EnglishFormsWhereTheLocaleDefinesNone) {
    // Tests run in C.UTF-8: no grouping and no long date of its own.
    const TDateTime date = *DateTime::EncodeDate(2026, 12, 7);
    for (bool pinned : {false, true}) {
        LocaleInfo::PinEnglish(pinned);
        EXPECT_EQ(LocaleInfo::ThousandsSeparator(), ",");
        EXPECT_EQ(LocaleInfo::DecimalSeparator(), ".");
        EXPECT_EQ(LocaleInfo::DateSeparator(), '/');
        EXPECT_EQ(LocaleInfo::LongDate(date), "Monday, December 7, 2026");
        EXPECT_EQ(LocaleInfo::LongDate(*DateTime::EncodeDate(2000, 2, 29) + 0.75),
                  "Tuesday, February 29, 2000");
    }
}

} // namespace
} // namespace brumo
