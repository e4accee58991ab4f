#include "runs/recycle_settings_check.h"
#include "support/drive_map.h"
#include "support/scoped_env.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace brumo {
namespace {

namespace fs = std::filesystem;

// KDE keeps a size limit per trash folder; it stands for the Recycle Bin settings of the drives
// whose files go to that trash.
TEST(DesktopTrashSettings, AKdeSizeLimitGivesStatisticsAndTheCapacityWarning) {
    test::TempTree tree;
    for (const char* folder : {"c", "config", "data"})
        fs::create_directories(tree / folder);
    test::DriveMap drives{{'C', tree / "c"}};
    test::ScopedEnv data{"XDG_DATA_HOME", (tree / "data").string()};
    test::ScopedEnv config{"XDG_CONFIG_HOME", (tree / "config").string()};
    const auto limit = [&](const char* percent) {
        std::ofstream(tree / "config" / "ktrashrc")
            << "[" << (tree / "data" / "Trash").string() << "]\nDays=7\nLimitReachedAction=0\n"
            << "Percent=" << percent << "\nUseSizeLimit=true\nUseTimeLimit=false\n";
    };

    limit("2.5");
    RecycleSettingsCheck check;
    EXPECT_FALSE(check.CheckRecycleSettings());
    DriveRecycleStats& stats = check.Stats();
    ASSERT_TRUE(stats[2].HasSetting);
    EXPECT_EQ(stats[2].Percent, 2);
    ASSERT_GT(stats[2].MaxBytes, 0);
    stats.AddPending("C:\\big.iso", stats[2].MaxBytes + 1);
    std::vector<std::string> lines;
    EXPECT_TRUE(stats.StatisticsLines(lines)) << "the warning of the test run's message";
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(" (02%) *ERROR* (03%)"), std::string::npos) << lines[0];

    limit("0");
    RecycleSettingsCheck zero;
    EXPECT_TRUE(zero.CheckRecycleSettings());
    EXPECT_NE(zero.RecycleSettingsError().find("On drive c:\\, "), std::string::npos);
}

} // namespace
} // namespace brumo
