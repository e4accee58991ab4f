#include "platform/recycle_bin_settings.h"

namespace brumo {

namespace {

// The desktop trash has no settings of its own: the defaults apply.
class NoSettings : public RecycleBinSettings {
public:
    std::optional<std::vector<uint8_t>> PurgeInfo() const override { return std::nullopt; }
    bool HasDriveSetting(char) const override { return false; }
};

} // namespace

const RecycleBinSettings& RecycleBinSettings::System() {
    static const NoSettings settings;
    return settings;
}

} // namespace brumo
