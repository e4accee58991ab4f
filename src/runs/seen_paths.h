#pragma once

#include "engine/case_blind_set.h"

#include <string>
#include <unordered_set>

namespace brumo {

// Full paths already reported by a test run. Where the walk spells every path as it is on disk
// (POSIX), one file has one path, and two paths that differ only in case are two files (only
// the drive letter's case does not count); elsewhere paths compare ignoring case.
class SeenPaths {
public:
    SeenPaths();
    // True when the path was not seen before (it is then remembered).
    bool Insert(const std::string& path);
    bool Contains(const std::string& path) const;
    void Clear();
    size_t Size() const { return exact_ ? exactPaths_.size() : paths_.size(); }

private:
    static std::string ExactKey(const std::string& path);

    bool exact_;
    CaseBlindSet paths_;
    std::unordered_set<std::string> exactPaths_;
};

} // namespace brumo
