#include "engine/local_drives.h"

#include "platform/drives.h"

#include <cstdio>
#include <mutex>
#include <set>

namespace brumo {

std::string LocalDrives::LocalDriveList(const std::string& suffix, const std::string& separator) {
    const uint32_t mask = Drives::LogicalDriveMask();
    std::set<std::string> keys;
    std::string result;
    for (int bit = 0; bit < 26; ++bit) {
        if (!(mask & (uint32_t{1} << bit)))
            continue;
        const char letter = static_cast<char>('A' + bit);
        const std::string root = std::string(1, letter) + ":\\";
        if (Drives::TypeOf(root) != DriveType::Fixed)
            continue;
        // Volumes whose serial cannot be read share one key, so only the first is listed.
        char key[9];
        std::snprintf(key, sizeof key, "%08X", Drives::VolumeSerial(root).value_or(0xFFFFFFFFu));
        if (!keys.insert(key).second)
            continue;
        result += letter;
        result += suffix;
        result += separator;
    }
    if (!result.empty())
        result.resize(result.size() - separator.size());
    return result;
}

const std::string& LocalDrives::LocalDrivesCaption() {
    static std::once_flag once;
    static std::string caption;
    std::call_once(once, [] { caption = "Local drives (" + LocalDriveList(":", ",") + ")"; });
    return caption;
}

bool LocalDrives::IsAllDrivesEntry(const std::string& text) {
    return text.rfind("Local drives (", 0) == 0;
}

} // namespace brumo
