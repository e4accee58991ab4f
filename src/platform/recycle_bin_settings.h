#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brumo {

// Where the Recycle Bin settings come from (the Explorer BitBucket key on Windows). The
// system source can be replaced by tests.
class RecycleBinSettings {
public:
    virtual ~RecycleBinSettings() = default;
    // Up to 72 bytes of "PurgeInfo"; empty when the key or the value is missing.
    virtual std::optional<std::vector<uint8_t>> PurgeInfo() const = 0;
    // Whether the key holds a value named by the drive's upper-case letter.
    virtual bool HasDriveSetting(char letter) const = 0;
    // What the last PurgeInfo could not use of the settings, one sentence each (a limit that is
    // no number is ignored rather than read as zero).
    virtual std::vector<std::string> Problems() const { return {}; }

    static const RecycleBinSettings& System();
};

} // namespace brumo
