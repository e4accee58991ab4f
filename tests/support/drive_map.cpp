#include "support/drive_map.h"

#include <cctype>
#include <stdexcept>

namespace brumo::test {

std::string DriveMap::Root(char letter) const {
    const int want = std::toupper(static_cast<unsigned char>(letter));
    for (const auto& [l, root] : roots_)
        if (std::toupper(static_cast<unsigned char>(l)) == want)
            return root;
    throw std::invalid_argument(std::string("drive not mapped: ") + letter);
}

std::string DriveMap::Path(char letter, std::string_view relative) const {
    std::string path = Root(letter);
    if (!relative.empty()) {
        path += '\\';
        path += relative;
    }
    return path;
}

bool DriveMap::RootIsDrive(char letter) const {
    return Root(letter).size() == 2;
}

} // namespace brumo::test
