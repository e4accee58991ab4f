#include "support/drive_map.h"

namespace brumo::test {

DriveMap::DriveMap(std::initializer_list<std::pair<char, std::filesystem::path>> drives) {
    for (const auto& [letter, folder] : drives) {
        std::string root = folder.string();
        for (auto& c : root)
            if (c == '/')
                c = '\\';
        while (root.size() > 2 && root.back() == '\\')
            root.pop_back();
        roots_.emplace_back(letter, root);
    }
}

DriveMap::~DriveMap() = default;

} // namespace brumo::test
