#pragma once

#include "platform/folder.h"

#include <optional>
#include <string>
#include <vector>

namespace brumo {

// The folders no walk enters, known by identity so that no spelling, drive letter or link
// reaches them: the program's folders, the user's trash and data folder, and the operating
// system's own folders; and the tops of the drives, where holding and Recycle Bin folders lie.
class WalkLimits {
public:
    // `excludedFolders`: Windows or host paths, never searched nor anything below them.
    explicit WalkLimits(const std::vector<std::string>& excludedFolders);

    // Whether a folder met by the walk is one never entered.
    bool Excludes(const std::optional<FolderIdentity>& id) const;
    // Every folder never entered that is there, by identity.
    std::vector<FolderIdentity> NeverEntered() const;
    // Whether a folder given to the walk is one never entered or lies below one.
    bool ExcludesAbove(const std::string& folder) const;
    // Whether the folder is the root of some drive, a drive nested in another's folder included.
    bool IsDriveRoot(const std::optional<FolderIdentity>& id) const;
    // The system folder (host form, as "/usr") that holds or is the given folder, if any.
    std::optional<std::string> SystemFolderAbove(const std::string& folder) const;
    // The system folders there are here (host form, in their usual order), never searched.
    std::vector<std::string> SystemFolderNames() const;

private:
    struct SystemFolder {
        FolderIdentity id;
        std::string name;
    };
    std::vector<FolderIdentity> excluded_;
    std::vector<SystemFolder> system_;
    std::vector<FolderIdentity> driveRoots_;
};

} // namespace brumo
