#include "platform/posix/windows_path.h"

#include <cctype>

namespace brumo {

std::optional<WindowsPath> WindowsPath::Parse(std::string_view path) {
    if (path.size() < 2 || path[1] != ':' || !std::isalpha(static_cast<unsigned char>(path[0])))
        return std::nullopt;
    WindowsPath out;
    out.drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    if (out.drive < 'A' || out.drive > 'Z')
        return std::nullopt;
    size_t i = 2;
    while (i < path.size()) {
        size_t j = i;
        while (j < path.size() && path[j] != '\\' && path[j] != '/')
            ++j;
        const std::string_view part = path.substr(i, j - i);
        i = j + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!out.parts.empty())
                out.parts.pop_back();
            continue;
        }
        out.parts.emplace_back(part);
    }
    return out;
}

std::string WindowsPath::ToString() const {
    std::string out{drive, ':'};
    if (parts.empty())
        return out + '\\';
    for (const auto& part : parts) {
        out += '\\';
        out += part;
    }
    return out;
}

} // namespace brumo
