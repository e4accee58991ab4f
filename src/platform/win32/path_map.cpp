#include "platform/path_map.h"

#include "platform/win32/win_text.h"
#include "platform/win32/windows_api.h"

#include <cctype>

namespace brumo {

// Windows paths are the host's own.
std::optional<std::string> PathMap::ToHost(const std::string& windowsPath) {
    return windowsPath;
}

std::optional<std::string> PathMap::ToWindows(const std::string& hostPath) {
    return hostPath;
}

std::string PathMap::AsStored(const std::string& windowsPath) {
    if (windowsPath.size() < 3 || windowsPath[1] != ':' || windowsPath[2] != '\\')
        return windowsPath;
    // A search for a component's own name reports it as the folder keeps it.
    std::string stored = windowsPath.substr(0, 3);
    stored[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(stored[0])));
    size_t at = 3;
    while (at < windowsPath.size()) {
        size_t end = windowsPath.find('\\', at);
        if (end == std::string::npos)
            end = windowsPath.size();
        const std::string name = windowsPath.substr(at, end - at);
        WIN32_FIND_DATAW data;
        const bool searchable = !name.empty() && name != "." && name != ".." &&
                                name.find_first_of("*?") == std::string::npos;
        HANDLE h = !searchable ? INVALID_HANDLE_VALUE
                               : FindFirstFileW(WinText::FilePath(stored + name).c_str(), &data);
        if (h == INVALID_HANDLE_VALUE)
            return stored + windowsPath.substr(at);
        FindClose(h);
        stored += WinText::Utf8(data.cFileName);
        if (end < windowsPath.size())
            stored += '\\';
        at = end + 1;
    }
    return stored;
}

} // namespace brumo
