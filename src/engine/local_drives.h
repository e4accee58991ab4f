#pragma once

#include <string>

namespace brumo {

// The local fixed drives, each volume once under its first letter.
class LocalDrives {
public:
    // For each drive in letter order: letter + suffix + separator, the last separator removed.
    static std::string LocalDriveList(const std::string& suffix, const std::string& separator);
    // "Local drives (C:,D:)", built on first use and kept for the rest of the run.
    static const std::string& LocalDrivesCaption();
    // True for a folder list entry that stands for all local drives.
    static bool IsAllDrivesEntry(const std::string& text);
};

} // namespace brumo
