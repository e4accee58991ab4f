#include "runs/seen_paths.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

// The walk spells every path as it is on disk: a path in another case is another file, a case
// twin on a file system that tells them apart. Only the drive letter's case does not count.
TEST(SeenPathsTest, APathIsSeenOnceAndItsCaseTwinIsAnotherFile) {
    SeenPaths seen;
    EXPECT_TRUE(seen.Insert("C:\\Temp\\a.tmp"));
    EXPECT_FALSE(seen.Insert("c:\\Temp\\a.tmp"));
    EXPECT_TRUE(seen.Insert("C:\\Temp\\A.TMP"));
    EXPECT_TRUE(seen.Insert("C:\\TEMP\\a.tmp"));
    EXPECT_TRUE(seen.Insert("C:\\\xC5\xBF\xE2\x84\xAA.tmp"));
    EXPECT_TRUE(seen.Contains("C:\\Temp\\A.TMP"));
    EXPECT_FALSE(seen.Contains("C:\\temp\\A.TMP"));
    EXPECT_EQ(seen.Size(), 4u);
    seen.Clear();
    EXPECT_FALSE(seen.Contains("C:\\Temp\\a.tmp"));
}

} // namespace
} // namespace brumo
