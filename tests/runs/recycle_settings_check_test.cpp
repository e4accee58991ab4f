#include "recycle_settings_check_fixture.h"

namespace brumo {
namespace {

using test::FakeRecycleSettings;
using test::RecycleSettingsCheckTest;

TEST_F(RecycleSettingsCheckTest, WithoutSettingsTheDefaultHoldsAndNothingIsWrong) {
    settings.drivesWithSetting = {'C'};
    EXPECT_FALSE(check.CheckRecycleSettings());
    EXPECT_EQ(check.CurrentVerdict(), RecycleSettingsCheck::NoError);
    EXPECT_TRUE(check.RecycleSettingsError().empty());
    EXPECT_TRUE(check.OneSettingForAll());
    EXPECT_EQ(check.GlobalPercent(), 10);
    const DriveRecycleStat& c = check.Stats()[2];
    EXPECT_TRUE(c.RecycleEnabled && c.HasSetting && c.IsFixed);
    EXPECT_EQ(c.Percent, 10);
    ASSERT_GT(c.DriveSize, 0);
    EXPECT_EQ(c.MaxBytes, c.DriveSize * 10 / 100);
    // A drive the table does not map is not fixed and gets no size.
    EXPECT_FALSE(check.Stats()[25].IsFixed);
    EXPECT_EQ(check.Stats()[25].DriveSize, 0);
}

TEST_F(RecycleSettingsCheckTest, OneSettingAtZeroPercentOrDisabledIsAnErrorForAllDrives) {
    const char* expected =
        "RECYCLE BIN SETTINGS ERROR:\r\n\r\nThe Recycle Bin is configured to use one setting for "
        "all drives. It is either disabled, or it is set to use zero percent of each "
        "drive.\r\n\r\n%s\r\n\r\nPlease see the help for instructions on correcting this problem";
    auto info = RecycleSettingsCheck::DefaultPurgeInfo();
    info[62] = 0;
    settings.value = std::vector<uint8_t>(info.begin(), info.end());
    EXPECT_TRUE(check.CheckRecycleSettings());
    EXPECT_EQ(check.CurrentVerdict(), RecycleSettingsCheck::AllDrivesError);
    EXPECT_EQ(check.RecycleSettingsError(), expected);

    RecycleSettingsCheck disabledCheck{settings};
    info[62] = 10;
    settings.value = std::vector<uint8_t>(info.begin(), info.end());
    FakeRecycleSettings::SetDeleteBit(*settings.value, 27);
    EXPECT_TRUE(disabledCheck.CheckRecycleSettings());
    EXPECT_EQ(disabledCheck.RecycleSettingsError(), expected);
}

TEST_F(RecycleSettingsCheckTest, LimitsFollowTheDriveSizeReadOnce) {
    settings.drivesWithSetting = {'C'};
    check.Stats()[2].DriveSize = 4LL << 30; // already known: not read again
    auto value = FakeRecycleSettings::Independent(15);
    RecycleSettingsCheck::PurgeInfo info{};
    std::copy(value.begin(), value.end(), info.begin());
    check.CheckRecycleSettings();
    check.ComputeRecycleLimits(info);
    EXPECT_EQ(check.Stats()[2].Percent, 15);
    EXPECT_EQ(check.Stats()[2].MaxBytes, (4LL << 30) * 15 / 100);
    // Drives without a setting get no maximum.
    EXPECT_EQ(check.Stats()[3].MaxBytes, 0);
}

} // namespace
} // namespace brumo
