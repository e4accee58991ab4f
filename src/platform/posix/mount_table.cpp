#include "platform/posix/mount_table.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace brumo {

namespace {

// mountinfo writes space, tab, newline and backslash in a path as \ooo.
std::string Unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const char a = field[i + 1], b = field[i + 2], c = field[i + 3];
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
                out += static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (c - '0'));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::string ParentOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool ReadAll(int fd, std::string& text) {
    text.clear();
    if (::lseek(fd, 0, SEEK_SET) < 0)
        return false;
    char buf[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        text.append(buf, static_cast<size_t>(n));
    }
}

struct Watch {
    std::mutex mutex;
    int fd = -2; // -2: not opened yet, -1: not available
    std::shared_ptr<const MountTable> table;
};

} // namespace

std::shared_ptr<const MountTable> MountTable::Parse(std::string_view mountinfo) {
    auto table = std::make_shared<MountTable>();
    size_t pos = 0;
    while (pos < mountinfo.size()) {
        size_t end = mountinfo.find('\n', pos);
        if (end == std::string_view::npos)
            end = mountinfo.size();
        const std::string_view line = mountinfo.substr(pos, end - pos);
        pos = end + 1;
        // id parent major:minor root mount-point ...
        size_t field = 0;
        size_t start = 0;
        for (size_t i = 0; i <= line.size(); ++i) {
            if (i < line.size() && line[i] != ' ')
                continue;
            if (field == 4) {
                std::string point = Unescape(line.substr(start, i - start));
                if (!point.empty() && point[0] == '/') {
                    if (point != "/")
                        table->parents_.insert(ParentOf(point));
                    table->points_.insert(std::move(point));
                }
                break;
            }
            ++field;
            start = i + 1;
        }
    }
    return table;
}

std::shared_ptr<const MountTable> MountTable::Current() {
    static Watch watch;
    std::lock_guard lock(watch.mutex);
    if (watch.fd == -2) {
        watch.fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
        if (watch.fd < 0)
            watch.fd = -1;
    }
    bool reread = !watch.table;
    if (watch.fd >= 0 && watch.table) {
        // The kernel flags the file when a mount or unmount happened since the last read.
        pollfd p{watch.fd, POLLPRI, 0};
        reread = ::poll(&p, 1, 0) > 0 && (p.revents & (POLLPRI | POLLERR));
    }
    if (reread) {
        std::string text;
        if (watch.fd >= 0 && ReadAll(watch.fd, text))
            watch.table = Parse(text);
        else if (!watch.table)
            watch.table = std::make_shared<MountTable>();
    }
    return watch.table;
}

bool MountTable::IsMountPoint(std::string_view hostPath) const {
    return points_.count(std::string(hostPath)) != 0;
}

bool MountTable::HasMountsIn(std::string_view hostFolder) const {
    return !parents_.empty() && parents_.count(std::string(hostFolder)) != 0;
}

std::string MountTable::MountPointOf(std::string_view hostPath) const {
    std::string path(hostPath);
    while (path.size() > 1) {
        if (points_.count(path))
            return path;
        path = ParentOf(path);
    }
    return "/";
}

} // namespace brumo
