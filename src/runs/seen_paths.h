#pragma once

#include <set>
#include <string>

namespace brumo {

// Full paths already reported by a test run, compared as Windows compares file names.
class SeenPaths {
public:
    // True when the path was not seen before (it is then remembered).
    bool Insert(const std::string& path);
    bool Contains(const std::string& path) const;
    void Clear() { paths_.clear(); }
    size_t Size() const { return paths_.size(); }

private:
    struct IgnoreCaseLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::set<std::string, IgnoreCaseLess> paths_;
};

} // namespace brumo
