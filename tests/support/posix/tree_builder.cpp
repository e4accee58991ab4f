#include "support/tree_builder.h"

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace brumo::test {

namespace fs = std::filesystem;

void TreeBuilder::MakeDir(const fs::path& path) {
    fs::create_directories(path);
}

void TreeBuilder::MakeFile(const fs::path& path, int64_t size) {
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot create " + path.string());
    int rc = ::ftruncate(fd, size);
    ::close(fd);
    if (rc != 0)
        throw std::runtime_error("cannot size " + path.string());
}

void TreeBuilder::SetWriteTime(const fs::path& path, int year, int month, int day, int hour,
                               int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    const time_t t = std::mktime(&tm);
    struct timespec times[2] = {{t, 0}, {t, 0}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        throw std::runtime_error("cannot set the time of " + path.string());
}

bool TreeBuilder::SetDosAttributes(const fs::path& path, uint32_t attributes) {
    char value[16];
    const int n = std::snprintf(value, sizeof value, "0x%x", attributes);
    return ::lsetxattr(path.c_str(), "user.DOSATTRIB", value, static_cast<size_t>(n), 0) == 0;
}

bool TreeBuilder::LinksSupported() {
    return true;
}

void TreeBuilder::MakeLink(const fs::path& link, const fs::path& target) {
    if (link.has_parent_path())
        fs::create_directories(link.parent_path());
    fs::create_symlink(target, link);
}

bool TreeBuilder::IsLink(const fs::path& path) {
    return fs::is_symlink(path);
}

void TreeBuilder::MakeReadOnly(const fs::path& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

} // namespace brumo::test
