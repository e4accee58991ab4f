#include "runs/recycle_batch.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

TEST(RecycleBatchTest, APathJoinsWhileTheListStaysWithin16382Bytes) {
    RecycleBatch batch;
    batch.Add(std::string(16000, 'a'), 0);
    EXPECT_EQ(batch.BytesUsed(), 16001u);
    EXPECT_FALSE(batch.MustFlushBefore(std::string(381, 'b'))); // 16382 exactly
    EXPECT_TRUE(batch.MustFlushBefore(std::string(382, 'b')));
    batch.Clear();
    EXPECT_TRUE(batch.Empty());
    EXPECT_FALSE(batch.MustFlushBefore(std::string(20000, 'c'))) << "an empty batch takes it";
    batch.Add(std::string(20000, 'c'), 0);
    EXPECT_TRUE(batch.MustFlushBefore("d"));
}

} // namespace
} // namespace brumo
