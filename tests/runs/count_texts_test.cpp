#include "platform/locale_info.h"
#include "runs/count_report.h"
#include "runs/size_text.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

class CountTexts : public ::testing::Test {
protected:
    void SetUp() override { LocaleInfo::PinEnglish(true); }
    void TearDown() override { LocaleInfo::PinEnglish(false); }
};

TEST_F(CountTexts, SizeTextUnitsAndBounds) {
    EXPECT_EQ(SizeText::Of(0), "0 bytes");
    EXPECT_EQ(SizeText::Of(999), "999 bytes");
    EXPECT_EQ(SizeText::Of(1000), "1,000 bytes");
    EXPECT_EQ(SizeText::Of(9998), "9,998 bytes");
    EXPECT_EQ(SizeText::Of(9999), "9.76 KB");
    EXPECT_EQ(SizeText::Of(10240), "10.00 KB");
    EXPECT_EQ(SizeText::Of(9999LL * 1024 - 1), "9,999.00 KB");
    EXPECT_EQ(SizeText::Of(9999LL * 1024), "9.76 MB");
    EXPECT_EQ(SizeText::Of(1536LL * 1048576), "1,536.00 MB");
    EXPECT_EQ(SizeText::Of(9999LL * 1048576), "9.76 GB");
    EXPECT_EQ(SizeText::Of(5LL << 40), "5,120.00 GB");
    EXPECT_EQ(SizeText::Of(INT64_MAX), "8,589,934,592.00 GB");
    EXPECT_EQ(SizeText::Of(-5), "-5 bytes");
    EXPECT_EQ(SizeText::Of(-12345), "-12,345 bytes");
    EXPECT_EQ(SizeText::Of(INT64_MIN), "-9,223,372,036,854,775,808 bytes");
}

TEST_F(CountTexts, ReportWithNothingFound) {
    EXPECT_EQ(CountReport::Text(12, 0, 0, 0, 0),
              "Brumo has searched for files matching the selected type\r\n\r\n"
              "12 folders were searched\r\n"
              "No files matched the junk file specifications");
}

TEST_F(CountTexts, ReportSingularForms) {
    EXPECT_EQ(CountReport::Text(1, 1, 0, 1, 0),
              "Brumo has searched for files matching the selected type\r\n\r\n"
              "1 folder was searched\r\n"
              "1 file matched the junk file specifications\r\n"
              "0 files did not meet the date or size restrictions\r\n"
              "1 file was protected by the protect file specifications\r\n\r\n"
              "0 files would be processed\r\n");
    EXPECT_EQ(CountReport::Text(2, 2, 1, 0, 0),
              "Brumo has searched for files matching the selected type\r\n\r\n"
              "2 folders were searched\r\n"
              "2 files matched the junk file specifications\r\n"
              "1 file did not meet the date or size restrictions\r\n"
              "0 files were protected by the protect file specifications\r\n\r\n"
              "1 file would be processed\r\n"
              "This file does not occupy any disk space");
    EXPECT_EQ(CountReport::Text(0, 1, 0, 0, 9999),
              "Brumo has searched for files matching the selected type\r\n\r\n"
              "0 folders were searched\r\n"
              "1 file matched the junk file specifications\r\n"
              "0 files did not meet the date or size restrictions\r\n"
              "0 files were protected by the protect file specifications\r\n\r\n"
              "1 file would be processed\r\n"
              "This file occupies 9.76 KB of disk space.");
}

TEST_F(CountTexts, ReportPluralFormsAndClamping) {
    EXPECT_EQ(CountReport::Text(3, 5, 1, 1, 1234),
              "Brumo has searched for files matching the selected type\r\n\r\n"
              "3 folders were searched\r\n"
              "5 files matched the junk file specifications\r\n"
              "1 file did not meet the date or size restrictions\r\n"
              "1 file was protected by the protect file specifications\r\n\r\n"
              "3 files would be processed\r\n"
              "These files occupy 1,234 bytes of disk space.");
    EXPECT_TRUE(CountReport::Text(3, 2, 2, 0, 0).ends_with("0 files would be processed\r\n"));
    const std::string allProtected = CountReport::Text(3, 3, 0, 3, 0);
    EXPECT_NE(allProtected.find("3 files were protected"), std::string::npos);
    EXPECT_TRUE(allProtected.ends_with("0 files would be processed\r\n"));
    EXPECT_TRUE(
        CountReport::Text(1, 4, 0, 0, 0).ends_with("These files do not occupy any disk space"));
    // Counters that do not add up never give a negative count, even at the 32-bit limits.
    EXPECT_TRUE(CountReport::Text(1, INT32_MIN, INT32_MAX, INT32_MAX, 0)
                    .ends_with("0 files would be processed\r\n"));
    EXPECT_TRUE(CountReport::Text(1, INT32_MAX, INT32_MIN, 0, 5)
                    .ends_with("These files occupy 5 bytes of disk space."));
}

} // namespace
} // namespace brumo
