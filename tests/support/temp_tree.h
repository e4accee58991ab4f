#pragma once

#include <filesystem>
#include <string>

namespace brumo::test {

// A temporary folder removed with its contents when the object goes.
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path operator/(const std::string& relative) const { return root_ / relative; }

private:
    std::filesystem::path root_;
};

} // namespace brumo::test
