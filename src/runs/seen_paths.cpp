#include "runs/seen_paths.h"

namespace brumo {

bool SeenPaths::Insert(const std::string& path) {
    return paths_.insert(path).second;
}

bool SeenPaths::Contains(const std::string& path) const {
    return paths_.count(path) != 0;
}

} // namespace brumo
