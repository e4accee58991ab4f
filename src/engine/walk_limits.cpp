#include "engine/walk_limits.h"

#include "platform/drives.h"
#include "platform/special_folders.h"

#include <algorithm>

namespace brumo {

WalkLimits::WalkLimits(const std::vector<std::string>& excludedFolders) {
    for (const std::string& folder : excludedFolders)
        if (const std::optional<FolderIdentity> id = Folder::IdentityOf(folder))
            excluded_.push_back(*id);
    for (std::string& name : SpecialFolders::SystemFolders())
        if (const std::optional<FolderIdentity> id = Folder::IdentityOf(name))
            system_.push_back({*id, std::move(name)});
    // Fixed drives only: asking a removable or network drive may wait on it.
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root{letter, ':', '\\'};
        if (Drives::TypeOf(root) != DriveType::Fixed)
            continue;
        if (const std::optional<FolderIdentity> id = Folder::IdentityOf(root))
            driveRoots_.push_back(*id);
    }
}

bool WalkLimits::Excludes(const std::optional<FolderIdentity>& id) const {
    if (!id)
        return false;
    return std::find(excluded_.begin(), excluded_.end(), *id) != excluded_.end() ||
           std::any_of(system_.begin(), system_.end(),
                       [&](const SystemFolder& s) { return s.id == *id; });
}

std::vector<FolderIdentity> WalkLimits::NeverEntered() const {
    std::vector<FolderIdentity> ids = excluded_;
    for (const SystemFolder& system : system_)
        ids.push_back(system.id);
    return ids;
}

bool WalkLimits::ExcludesAbove(const std::string& folder) const {
    const std::vector<FolderIdentity> lineage = Folder::LineageOf(folder);
    return std::any_of(lineage.begin(), lineage.end(),
                       [&](const FolderIdentity& id) { return Excludes(id); });
}

bool WalkLimits::IsDriveRoot(const std::optional<FolderIdentity>& id) const {
    return id && std::find(driveRoots_.begin(), driveRoots_.end(), *id) != driveRoots_.end();
}

std::optional<std::string> WalkLimits::SystemFolderAbove(const std::string& folder) const {
    if (system_.empty())
        return std::nullopt;
    // The outermost one names it: /usr rather than /bin where /bin leads into /usr.
    const std::vector<FolderIdentity> lineage = Folder::LineageOf(folder);
    for (auto id = lineage.rbegin(); id != lineage.rend(); ++id)
        for (const SystemFolder& system : system_)
            if (system.id == *id)
                return system.name;
    return std::nullopt;
}

std::vector<std::string> WalkLimits::SystemFolderNames() const {
    std::vector<std::string> names;
    for (const SystemFolder& system : system_)
        names.push_back(system.name);
    return names;
}

} // namespace brumo
