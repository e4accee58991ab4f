#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace brumo {

// The text of a .trashinfo file of the freedesktop.org trash.
class TrashInfo {
public:
    // "[Trash Info]", "Path=" with the path escaped as in URLs, "DeletionDate=" in local time.
    static std::string Text(std::string_view path, std::time_t deletedAt);
    // Every byte but the unreserved characters of URLs and "/" as %XX.
    static std::string Escape(std::string_view path);
    // YYYY-MM-DDThh:mm:ss, local time.
    static std::string Date(std::time_t when);
};

} // namespace brumo
