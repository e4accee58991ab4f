#pragma once

#include "platform/recycle_bin_settings.h"
#include "platform/win32/volume_recycle_bin.h"

#include <string>

namespace brumo {

// Recycle Bin settings read from the registry: the system's Explorer BitBucket key, or, in
// tests, keys of their own under the current user. Windows 95 to XP kept "PurgeInfo" there;
// later versions keep one key per volume under the user's BitBucket key, which take the
// place of the old value for their drives (as independent settings, the size in percent of
// the drive), the old values standing for the other drives.
class RegistryRecycleBinSettings : public RecycleBinSettings {
public:
    enum class Hive { LocalMachine, CurrentUser };
    static constexpr const char* BitBucketKey =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\BitBucket";

    // volumeKey: the per-volume keys' parent under the current user.
    RegistryRecycleBinSettings(Hive hive, std::string keyPath,
                               std::string volumeKey = VolumeRecycleBin::VolumeKey);
    std::optional<std::vector<uint8_t>> PurgeInfo() const override;
    bool HasDriveSetting(char letter) const override;

private:
    std::optional<std::vector<uint8_t>> LegacyPurgeInfo() const;

    Hive hive_;
    std::string keyPath_;
    std::string volumeKey_;
};

} // namespace brumo
