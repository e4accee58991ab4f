#include "runs/seen_paths.h"

#include "platform/locale_info.h"

namespace brumo {

bool SeenPaths::IgnoreCaseLess::operator()(const std::string& a, const std::string& b) const {
    return LocaleInfo::CompareIgnoreCase(a, b) < 0;
}

bool SeenPaths::Insert(const std::string& path) {
    return paths_.insert(path).second;
}

bool SeenPaths::Contains(const std::string& path) const {
    return paths_.count(path) != 0;
}

} // namespace brumo
