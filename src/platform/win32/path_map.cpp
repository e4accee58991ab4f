#include "platform/path_map.h"

namespace brumo {

// Windows paths are the host's own.
std::optional<std::string> PathMap::ToHost(const std::string& windowsPath) {
    return windowsPath;
}

std::optional<std::string> PathMap::ToWindows(const std::string& hostPath) {
    return hostPath;
}

} // namespace brumo
