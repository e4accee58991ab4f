#include "runs/holding_path.h"

#include "platform/file_system.h"
#include "platform/holding_folder.h"

namespace brumo {

std::optional<std::string> HoldingPath::Of(const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\')
        return std::nullopt;
    const char letter = path[0];
    if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z')))
        return std::nullopt;
    return In(HoldingFolder::RootFor(letter), path);
}

std::optional<std::string> HoldingPath::In(std::string root, const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\')
        return std::nullopt;
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

size_t HoldingPath::ExtensionStart(const std::string& path) {
    const size_t nameStart = path.find_last_of("\\/") + 1;
    const size_t dot = path.rfind('.');
    return dot == std::string::npos || dot < nameStart ? path.size() : dot;
}

std::string HoldingPath::FreeName(const std::string& path) {
    const size_t dot = ExtensionStart(path);
    std::string candidate;
    for (int n = 2;; ++n) {
        candidate = path.substr(0, dot) + " (" + std::to_string(n) + ")" + path.substr(dot);
        if (!FileSystem::FileExistsAsNamed(candidate))
            return candidate;
    }
}

} // namespace brumo
