#include "runs/seen_paths.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

TEST(SeenPathsTest, APathIsSeenOnceInAnyLetterCase) {
    SeenPaths seen;
    EXPECT_TRUE(seen.Insert("C:\\Temp\\a.tmp"));
    EXPECT_FALSE(seen.Insert("c:\\TEMP\\A.TMP"));
    EXPECT_TRUE(seen.Insert("C:\\Temp\\b.tmp"));
    EXPECT_TRUE(seen.Insert("C:\\Müll\\x.tmp"));
    EXPECT_FALSE(seen.Insert("C:\\MÜLL\\X.TMP"));
    // Letters beyond ASCII whose partner is an ASCII letter: the Kelvin sign and the long s.
    EXPECT_TRUE(seen.Insert("C:\\sk.tmp"));
    EXPECT_FALSE(seen.Insert("C:\\\xC5\xBF\xE2\x84\xAA.tmp"));
    EXPECT_TRUE(seen.Contains("C:\\SK.TMP"));
    EXPECT_EQ(seen.Size(), 4u);
    seen.Clear();
    EXPECT_FALSE(seen.Contains("C:\\Temp\\a.tmp"));
}

} // namespace
} // namespace brumo
