#include "platform/posix/dos_attributes.h"

#include "platform/file_attributes.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace brumo {

namespace {

constexpr const char* kAttributeName = "user.DOSATTRIB";
constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;

#if defined(__linux__)
// getxattrat (Linux 6.13) reads an attribute relative to a folder descriptor; the number is
// the same on every architecture. Older kernels answer ENOSYS and the /proc route is taken.
constexpr long kGetXattrAt = 464;
struct XattrArgs {
    uint64_t value;
    uint32_t size;
    uint32_t flags;
};
std::atomic<bool> haveGetXattrAt{true};
#endif

} // namespace

uint32_t DosAttributes::FromStat(const struct stat& st, std::string_view name, bool linkToFolder) {
    uint32_t attributes = 0;
    if (S_ISDIR(st.st_mode)) {
        attributes |= FileAttributes::Directory;
    } else if (S_ISLNK(st.st_mode)) {
        attributes |= FileAttributes::ReparsePoint;
        if (linkToFolder)
            attributes |= FileAttributes::Directory;
    }
    if (!name.empty() && name[0] == '.')
        attributes |= FileAttributes::Hidden;
    if (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR))
        attributes |= FileAttributes::ReadOnly;
    return attributes;
}

uint32_t DosAttributes::Parse(std::string_view value) {
    if (value.size() < 3 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X'))
        return 0;
    uint32_t bits = 0;
    for (size_t i = 2; i < value.size() && i < 10; ++i) {
        const char c = value[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        bits = bits * 16 + static_cast<uint32_t>(digit);
    }
    return bits & (FileAttributes::Hidden | FileAttributes::System | FileAttributes::Archive);
}

uint32_t DosAttributes::Read(int folderFd, const char* name) {
    char value[256];
    ssize_t n = -1;
#if defined(__linux__)
    if (haveGetXattrAt.load(std::memory_order_relaxed)) {
        XattrArgs args{reinterpret_cast<uintptr_t>(value), sizeof value, 0};
        n = ::syscall(kGetXattrAt, folderFd, name, AT_SYMLINK_NOFOLLOW, kAttributeName, &args,
                      sizeof args);
        if (n < 0 && (errno == ENOSYS || errno == EINVAL || errno == EPERM))
            haveGetXattrAt.store(false, std::memory_order_relaxed);
        else
            return n > 0 ? Parse(std::string_view(value, static_cast<size_t>(n))) : 0;
    }
#endif
    // The folder's descriptor stands in for its path, so a swapped folder cannot redirect
    // the read and deep folders need no long path.
    std::string path = "/proc/self/fd/" + std::to_string(folderFd) + "/" + name;
    n = ::lgetxattr(path.c_str(), kAttributeName, value, sizeof value);
    return n > 0 ? Parse(std::string_view(value, static_cast<size_t>(n))) : 0;
}

int64_t DosAttributes::FileTime(const struct timespec& time) {
    return (static_cast<int64_t>(time.tv_sec) + kSecondsFrom1601To1970) * 10000000LL +
           time.tv_nsec / 100;
}

} // namespace brumo
