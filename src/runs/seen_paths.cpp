#include "runs/seen_paths.h"

#include "platform/folder.h"

namespace brumo {

SeenPaths::SeenPaths() : exact_(Folder::SpellsAsOnDisk()) {}

std::string SeenPaths::ExactKey(const std::string& path) {
    std::string key = path;
    if (key.size() >= 2 && key[1] == ':' && key[0] >= 'a' && key[0] <= 'z')
        key[0] = static_cast<char>(key[0] - 'a' + 'A');
    return key;
}

bool SeenPaths::Insert(const std::string& path) {
    return exact_ ? exactPaths_.insert(ExactKey(path)).second : paths_.insert(path).second;
}

bool SeenPaths::Contains(const std::string& path) const {
    return exact_ ? exactPaths_.count(ExactKey(path)) != 0 : paths_.count(path) != 0;
}

void SeenPaths::Clear() {
    paths_.clear();
    exactPaths_.clear();
}

} // namespace brumo
