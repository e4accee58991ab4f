#include "../recycle_settings_check_fixture.h"

namespace brumo {
namespace {

using test::FakeRecycleSettings;

// Cases that need three fixed drives C:, D: and E:, which only the drive table can give.
class RecycleSettingsCheckPosixTest : public test::RecycleSettingsCheckTest {};

TEST_F(RecycleSettingsCheckPosixTest, IndependentSettingsNameTheDrivesInError) {
    settings.value = FakeRecycleSettings::Independent();
    FakeRecycleSettings::SetDeleteBit(*settings.value, 2); // c: deletes at once
    settings.drivesWithSetting = {'C', 'D', 'E', 'Q'};     // q: is no fixed drive
    FakeRecycleSettings::SetDeleteBit(*settings.value, 'Q' - 'A');
    EXPECT_TRUE(check.CheckRecycleSettings());
    EXPECT_EQ(check.CurrentVerdict(), RecycleSettingsCheck::SomeDrivesError);
    EXPECT_EQ(check.RecycleSettingsError(),
              "RECYCLE BIN SETTINGS ERROR:\r\n\r\nThe Recycle Bin is configured to use "
              "independent settings for different drives. On drive c:\\, the Recycle Bin is "
              "either disabled, or it is set to use zero percent of the drive.\r\n\r\n%s\r\n\r\n"
              "Please see the help for instructions on correcting this problem");

    RecycleSettingsCheck two{settings};
    FakeRecycleSettings::SetDrivePercent(*settings.value, 'E', 0);
    EXPECT_TRUE(two.CheckRecycleSettings());
    EXPECT_NE(two.RecycleSettingsError().find(" On drives c:\\ and e:\\, the Recycle Bin is "),
              std::string::npos)
        << two.RecycleSettingsError();

    RecycleSettingsCheck three{settings};
    FakeRecycleSettings::SetDrivePercent(*settings.value, 'D', 0);
    EXPECT_TRUE(three.CheckRecycleSettings());
    EXPECT_NE(three.RecycleSettingsError().find(" On drives c:\\, d:\\ and e:\\, the Recycle "),
              std::string::npos)
        << three.RecycleSettingsError();
}

TEST_F(RecycleSettingsCheckPosixTest,
       AnUnchangedValueKeepsTheVerdictAndAChangedOneIsEvaluatedAgain) {
    settings.value = FakeRecycleSettings::Independent();
    FakeRecycleSettings::SetDrivePercent(*settings.value, 'D', 0);
    EXPECT_FALSE(check.CheckRecycleSettings()); // d: has no setting yet

    settings.drivesWithSetting = {'D'};
    EXPECT_FALSE(check.CheckRecycleSettings()) << "same value: nothing is read again";

    FakeRecycleSettings::SetDrivePercent(*settings.value, 'C', 5);
    EXPECT_TRUE(check.CheckRecycleSettings());
    EXPECT_NE(check.RecycleSettingsError().find("On drive d:\\,"), std::string::npos);

    settings.value.reset(); // back to one setting, enabled
    EXPECT_FALSE(check.CheckRecycleSettings());
    EXPECT_TRUE(check.RecycleSettingsError().empty());
}

} // namespace
} // namespace brumo
