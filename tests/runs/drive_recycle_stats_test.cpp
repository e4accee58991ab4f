#include "platform/locale_info.h"
#include "runs/drive_recycle_stats.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

constexpr int64_t MB = 1024 * 1024;
constexpr int64_t GB = 1024 * MB;

class DriveRecycleStatsTest : public ::testing::Test {
protected:
    void SetUp() override { LocaleInfo::PinEnglish(true); }
    void TearDown() override { LocaleInfo::PinEnglish(false); }

    DriveRecycleStats stats;
    DriveRecycleStat& Drive(char letter, int64_t size, int percent) {
        DriveRecycleStat& drive = stats[letter - 'A'];
        drive.HasSetting = drive.IsFixed = drive.RecycleEnabled = true;
        drive.DriveSize = size;
        drive.Percent = percent;
        drive.MaxBytes = size > 0 ? size * percent / 100 : 0;
        return drive;
    }
};

TEST_F(DriveRecycleStatsTest, TooMuchForTheBinNamesThePercentNeeded) {
    Drive('C', 4 * GB, 10);
    stats.AddPending("c:\\big\\file.iso", 600 * MB);
    std::vector<std::string> lines;
    EXPECT_TRUE(stats.StatisticsLines(lines));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "c:\\    600.00 MB, Size:    409.60 MB (10%) *ERROR* (15%)");
}

TEST_F(DriveRecycleStatsTest, FixedDrivesWithASettingAndOthersWithPendingBytesGetALine) {
    Drive('C', 4 * GB, 5);
    Drive('D', 0, 10);  // size not read: the need is unknown
    Drive('E', -1, 10); // size could not be read
    Drive('F', 4 * GB, 10).IsFixed = false;
    Drive('G', 4 * GB, 10).HasSetting = false;
    DriveRecycleStat& noLimit = Drive('H', 1000, 0);
    noLimit.HasSetting = false;
    noLimit.FreeBytes = 50;
    stats.AddPending("C:\\a", 100);
    stats.AddPending("H:\\a", 100);
    stats.AddPending("d:\\a", 2000);
    stats.AddPending("E:\\a", 1);
    stats.AddPending("F:\\a", 100 * GB);
    stats.AddPending("\\\\server\\share\\a", 5); // no drive letter: counted nowhere
    std::vector<std::string> lines;
    EXPECT_TRUE(stats.StatisticsLines(lines));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "c:\\    100 bytes, Size:    204.80 MB (05%)");
    EXPECT_EQ(lines[1], "d:\\  2,000 bytes, Size:      0 bytes (10%) *ERROR* (??%)");
    EXPECT_EQ(lines[2], "e:\\      1 bytes, Size:      0 bytes (10%) *ERROR* (??%)");
    EXPECT_EQ(lines[3], "h:\\    100 bytes, Size:  1,000 bytes, Free:     50 bytes *ERROR*");

    stats.ClearPending();
    lines.clear();
    EXPECT_FALSE(stats.StatisticsLines(lines));
    EXPECT_EQ(lines.size(), 3u) << "a drive without a limit has a line only with pending bytes";
    EXPECT_EQ(lines[1], "d:\\      0 bytes, Size:      0 bytes (10%)");
}

} // namespace
} // namespace brumo
