#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace brumo {

// The mount points of this process (host paths), so that a walk can tell the root of another
// file system by its path alone, without a stat per folder.
class MountTable {
public:
    // The current table: read once, and again only after the system reports a change of
    // its mounts. Never null; empty where the mounts cannot be read.
    static std::shared_ptr<const MountTable> Current();
    // A table from the text of a mountinfo file.
    static std::shared_ptr<const MountTable> Parse(std::string_view mountinfo);

    bool IsMountPoint(std::string_view hostPath) const;
    // True when some mount point lies directly inside the folder, so that its entries need
    // looking up at all.
    bool HasMountsIn(std::string_view hostFolder) const;
    // The mount point whose path is the longest prefix of the path ("/" at least).
    std::string MountPointOf(std::string_view hostPath) const;

private:
    std::unordered_set<std::string> points_;
    std::unordered_set<std::string> parents_;
};

} // namespace brumo
