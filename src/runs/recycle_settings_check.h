#pragma once

#include "platform/recycle_bin_settings.h"
#include "runs/drive_recycle_stats.h"

#include <array>
#include <cstdint>
#include <string>

namespace brumo {

// Decides whether the Recycle Bin settings make Recycle Bin types unusable (the bin disabled
// or set to zero percent) and keeps the per-drive limits. Lives as long as the program.
class RecycleSettingsCheck {
public:
    static constexpr size_t PurgeInfoSize = 72;
    using PurgeInfo = std::array<uint8_t, PurgeInfoSize>;

    enum Verdict : int32_t {
        NotEvaluated = -1,
        NoError = 0,
        AllDrivesError = 1,
        SomeDrivesError = 2
    };

    explicit RecycleSettingsCheck(const RecycleBinSettings& source = RecycleBinSettings::System())
        : source_(&source) {}

    // True when the settings are in error; everything is refreshed only when the settings
    // value changed since the last check.
    bool CheckRecycleSettings();
    // The error text, with one "%s" for the caller's sentence; empty without an error.
    const std::string& RecycleSettingsError() const { return error_; }
    Verdict CurrentVerdict() const { return verdict_; }

    // Fills the per-drive table from a settings value, reading drive sizes not yet known.
    void ComputeRecycleLimits(const PurgeInfo& value);

    DriveRecycleStats& Stats() { return stats_; }
    const DriveRecycleStats& Stats() const { return stats_; }
    bool OneSettingForAll() const { return oneSetting_; }
    bool GlobalEnabled() const { return globalEnabled_; }
    int32_t GlobalPercent() const { return globalPercent_; }

    // One setting for all drives, 10 percent, nothing deleted at once.
    static PurgeInfo DefaultPurgeInfo();

private:
    const RecycleBinSettings* source_;
    DriveRecycleStats stats_;
    PurgeInfo lastSeen_ = DefaultPurgeInfo();
    Verdict verdict_ = NotEvaluated;
    std::string error_;
    bool oneSetting_ = true;
    bool globalEnabled_ = true;
    int32_t globalPercent_ = 10;
};

} // namespace brumo
