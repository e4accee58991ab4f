#include "support/temp_tree.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

namespace brumo::test {

TempTree::TempTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brumo-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    root_ = pattern;
}

TempTree::~TempTree() {
    std::error_code ec;
    // Read-only files and folders made by a test must not keep the tree alive.
    for (auto it = std::filesystem::recursive_directory_iterator(
             root_, std::filesystem::directory_options::skip_permission_denied, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_symlink())
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(root_, ec);
}

} // namespace brumo::test
