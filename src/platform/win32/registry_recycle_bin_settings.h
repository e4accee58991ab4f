#pragma once

#include "platform/recycle_bin_settings.h"

#include <string>

namespace brumo {

// Recycle Bin settings read from a registry key: the system's Explorer BitBucket key, or, in
// tests, a key of their own under the current user.
class RegistryRecycleBinSettings : public RecycleBinSettings {
public:
    enum class Hive { LocalMachine, CurrentUser };
    static constexpr const char* BitBucketKey =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\BitBucket";

    RegistryRecycleBinSettings(Hive hive, std::string keyPath);
    std::optional<std::vector<uint8_t>> PurgeInfo() const override;
    bool HasDriveSetting(char letter) const override;

private:
    Hive hive_;
    std::string keyPath_;
};

} // namespace brumo
