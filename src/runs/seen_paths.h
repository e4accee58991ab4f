#pragma once

#include <string>
#include <unordered_set>

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
    // Equal for any two paths that are equal ignoring case.
    struct CaseBlindHash {
        size_t operator()(const std::string& path) const;
    };
    struct IgnoreCaseEqual {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::unordered_set<std::string, CaseBlindHash, IgnoreCaseEqual> paths_;
};

} // namespace brumo
