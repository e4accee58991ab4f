#pragma once

#include <filesystem>
#include <string>

namespace brumo::test {

// A temporary folder removed with its contents when the object goes. On Windows, where the
// environment offers spare test drives (BRUMO_TEST_DRIVES="MNOP", each an empty drive only tests
// use), the tree is the root of one of them, so that drive-root rules can be tested; the drive is
// emptied afterwards.
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
    [[maybe_unused]] void* claim_ =
        nullptr; // Windows: the named mutex that holds a spare test drive
};

} // namespace brumo::test
