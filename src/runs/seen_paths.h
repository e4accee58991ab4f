#pragma once

#include "engine/case_blind_set.h"
#include "platform/folder.h"

#include <optional>
#include <string>
#include <unordered_set>

namespace brumo {

// Full paths already handled by a run. A file is known by its folder's identity and its name,
// so two drive letters for one folder reach it once. Where the walk spells every path as it is
// on disk (POSIX), one file has one path, and two names that differ only in case are two files
// (only the drive letter's case does not count); elsewhere a name in a folder whose identity
// is known is compared as found on disk, and any other path ignoring case.
class SeenPaths {
public:
    SeenPaths();
    // True when the path was not seen before (it is then remembered).
    bool Insert(const std::string& path);
    bool Contains(const std::string& path) const;
    void Clear();
    size_t Size() const { return exactPaths_.size() + paths_.size(); }

private:
    static std::string ExactKey(const std::string& path);
    // The folder's identity and the name where the folder's identity is known, else the path.
    std::string Key(const std::string& path) const;

    // The last folder asked about: files come folder by folder.
    mutable std::string lastFolder_;
    mutable std::optional<FolderIdentity> lastId_;
    bool exact_;
    CaseBlindSet paths_;
    std::unordered_set<std::string> exactPaths_;
};

} // namespace brumo
