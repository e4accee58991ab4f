#pragma once

#include "platform/recycle_bin_settings.h"
#include "runs/recycle_settings_check.h"

namespace brumo::test {

// Recycle Bin settings that a test switches between usable (the defaults) and unusable
// (one setting for all drives at zero percent).
class RecycleBinSwitch : public RecycleBinSettings {
public:
    bool unusable = false;

    std::optional<std::vector<uint8_t>> PurgeInfo() const override {
        RecycleSettingsCheck::PurgeInfo info = RecycleSettingsCheck::DefaultPurgeInfo();
        if (unusable)
            info[62] = info[63] = 0;
        return std::vector<uint8_t>(info.begin(), info.end());
    }
    bool HasDriveSetting(char) const override { return false; }
};

} // namespace brumo::test
