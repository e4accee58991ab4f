#pragma once

#include "platform/recycle_bin_settings.h"
#include "runs/recycle_settings_check.h"

#include <set>

namespace brumo::test {

// Recycle Bin settings as a test wants them.
class FakeRecycleSettings : public RecycleBinSettings {
public:
    std::optional<std::vector<uint8_t>> value;
    std::set<char> drivesWithSetting;

    std::optional<std::vector<uint8_t>> PurgeInfo() const override { return value; }
    bool HasDriveSetting(char letter) const override {
        return drivesWithSetting.count(letter) != 0;
    }

    // Independent settings: every drive at the percent given, none deleting at once.
    static std::vector<uint8_t> Independent(uint16_t percent = 10) {
        RecycleSettingsCheck::PurgeInfo info = RecycleSettingsCheck::DefaultPurgeInfo();
        info[4] = 0;
        for (int drive = 0; drive < 26; ++drive)
            info[8 + 2 * drive] = static_cast<uint8_t>(percent);
        return {info.begin(), info.end()};
    }
    static void SetDrivePercent(std::vector<uint8_t>& value, char letter, uint16_t percent) {
        value[8 + 2 * (letter - 'A')] = static_cast<uint8_t>(percent);
        value[9 + 2 * (letter - 'A')] = static_cast<uint8_t>(percent >> 8);
    }
    static void SetDeleteBit(std::vector<uint8_t>& value, int bit) {
        value[64 + bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    }
};

} // namespace brumo::test
