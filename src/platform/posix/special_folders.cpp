#include "platform/special_folders.h"

#include "platform/path_map.h"
#include "platform/posix/drive_table.h"
#include "platform/posix/home_folder.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace brumo {

namespace {

// $XDG_DATA_HOME, or ~/.local/share; a relative value is ignored, as the base-directory rules
// say.
std::string DataHome() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return DriveTable::NormaliseHostPath(data);
    const std::string home = HomeFolder::Path();
    if (home.empty())
        return {};
    return DriveTable::NormaliseHostPath(home + "/.local/share");
}

} // namespace

std::string SpecialFolders::TempPath() {
    std::string folder = "/tmp";
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp == '/')
        folder = tmp;
    const auto windows = PathMap::ToWindows(folder);
    if (!windows)
        return {};
    return windows->back() == '\\' ? *windows : *windows + '\\';
}

std::string SpecialFolders::CookiesFolder() {
    return {};
}

std::string SpecialFolders::InternetCacheFolder() {
    return {};
}

std::string SpecialFolders::WindowsFolder() {
    return {};
}

std::string SpecialFolders::ExecutablePath() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof buffer)
        return {};
    return std::string(buffer, static_cast<size_t>(n));
}

std::string SpecialFolders::UserDataFolder() {
    const std::string data = DataHome();
    return data.empty() ? std::string() : data + "/brumo";
}

std::string SpecialFolders::UserHomeFolder() {
    const std::string home = HomeFolder::Path();
    return home.empty() ? std::string()
                        : PathMap::ToWindows(DriveTable::NormaliseHostPath(home)).value_or("");
}

std::string SpecialFolders::UserCacheFolder() {
    std::string cache;
    if (const char* set = std::getenv("XDG_CACHE_HOME"); set && *set == '/')
        cache = set;
    else if (const std::string home = HomeFolder::Path(); !home.empty())
        cache = home + "/.cache";
    return cache.empty() ? std::string()
                         : PathMap::ToWindows(DriveTable::NormaliseHostPath(cache)).value_or("");
}

std::string SpecialFolders::HomeTrashFolder() {
    const std::string data = DataHome();
    if (data.empty())
        return {};
    return PathMap::ToWindows(data + "/Trash").value_or(std::string());
}

std::vector<std::string> SpecialFolders::SystemFolders() {
    // Where a link stands for one of them (/bin on a merged /usr), its target is one as well.
    return {"/usr",   "/etc",    "/boot", "/bin",     "/sbin", "/lib", "/lib32",
            "/lib64", "/libx32", "/opt",  "/var/lib", "/snap", "/nix", "/gnu"};
}

} // namespace brumo
