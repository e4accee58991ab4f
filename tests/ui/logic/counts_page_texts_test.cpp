#include "ui/counts_page_texts.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

TEST(CountsPageTextsTest, OneEmptyFile) {
    const CountsPageTexts t = CountsPageTexts::Of(1, 1, 0, 0, 0);
    EXPECT_EQ(t.dirs, "1 folder was searched\r\n");
    EXPECT_EQ(t.dels, "1 file matched the junk file specifications\r\n");
    EXPECT_EQ(t.res, "0 files did not meet the date or size restrictions\r\n");
    EXPECT_EQ(t.prots, "0 files were protected by the protect file specifications\r\n\r\n");
    EXPECT_EQ(t.actual, "1 file would be processed");
    EXPECT_EQ(t.size, "This file does not occupy any disk space");
    EXPECT_TRUE(t.viewEnabled);
}

TEST(CountsPageTextsTest, SpaceSentencesAndNeverNegative) {
    EXPECT_EQ(CountsPageTexts::Of(2, 1, 0, 0, 9998).size,
              "This file occupies 9,998 bytes  of disk space.");
    EXPECT_EQ(CountsPageTexts::Of(2, 3, 0, 1, 0).size, "These files do not occupy any disk space");
    EXPECT_EQ(CountsPageTexts::Of(2, 3, 0, 0, 9999).size,
              "These files occupy 9.76 KB  of disk space.");
    const CountsPageTexts over = CountsPageTexts::Of(1, 2, 2147483647, 2147483647, 5);
    EXPECT_EQ(over.actual, "0 files would be processed");
    EXPECT_EQ(CountsPageTexts::Heading("Temp \"x\""), "Counting files for \"Temp \"x\"\"");
}

} // namespace
} // namespace brumo
