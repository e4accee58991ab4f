#pragma once

#include "fake_recycle_settings.h"
#include "runs/recycle_settings_check.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace brumo::test {

// A check over fake settings, with fixed drives C:, D: and E: mapped onto a temporary tree.
class RecycleSettingsCheckTest : public ::testing::Test {
protected:
    TempTree tree;
    DriveMap drives{{'C', tree / "c"}, {'D', tree / "d"}, {'E', tree / "e"}};
    FakeRecycleSettings settings;
    RecycleSettingsCheck check{settings};

    void SetUp() override {
        std::filesystem::create_directories(tree / "c");
        std::filesystem::create_directories(tree / "d");
        std::filesystem::create_directories(tree / "e");
    }
};

} // namespace brumo::test
