#pragma once

#include "engine/case_blind_set.h"

#include <string>

namespace brumo {

// Full paths already reported by a test run, compared as file names are: ignoring case.
class SeenPaths {
public:
    // True when the path was not seen before (it is then remembered).
    bool Insert(const std::string& path);
    bool Contains(const std::string& path) const;
    void Clear() { paths_.clear(); }
    size_t Size() const { return paths_.size(); }

private:
    CaseBlindSet paths_;
};

} // namespace brumo
