#include "runs/holding_path.h"

#include "platform/holding_folder.h"

namespace brumo {

std::optional<std::string> HoldingPath::Of(const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\')
        return std::nullopt;
    const char letter = path[0];
    if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z')))
        return std::nullopt;
    std::string root = HoldingFolder::RootFor(letter);
    while (!root.empty() && root.back() == '\\')
        root.pop_back();
    if (root.empty())
        return std::nullopt;
    std::string rest = path.substr(2);
    if (root.front() == '/') {
        // A holding folder where no drive reaches it is named by its host path.
        for (char& c : rest)
            if (c == '\\')
                c = '/';
    }
    return root + rest;
}

} // namespace brumo
