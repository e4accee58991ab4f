#include "platform/posix/entry_handle.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/xattr.h>

namespace brumo {

namespace {

constexpr const char* kDosAttrib = "user.DOSATTRIB";

bool NotSupported(int code) {
    return code == ENOTSUP || code == EOPNOTSUPP || code == EPERM;
}

} // namespace

OsError EntryHandle::Open(int folderFd, const std::string& name, EntryHandle& out) {
    UniqueFd fd(::openat(folderFd, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.Valid())
        return OsError{errno};
    if (::fstat(fd.Get(), &out.stat_) != 0)
        return OsError{errno};
    out.fd_ = std::move(fd);
    return {};
}

// The kernel's name for the entry held: calls that take a path reach this entry through it.
std::string EntryHandle::ProcPath() const {
    return "/proc/self/fd/" + std::to_string(fd_.Get());
}

std::optional<uint32_t> EntryHandle::DosAttributes() const {
    if (IsLink())
        return std::nullopt; // user attributes cannot be set on links
    char value[64] = {};
    const ssize_t n = ::getxattr(ProcPath().c_str(), kDosAttrib, value, sizeof value - 1);
    if (n < 3 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X'))
        return std::nullopt;
    value[n] = '\0';
    char* end = nullptr;
    const unsigned long bits = std::strtoul(value + 2, &end, 16);
    if (end == value + 2)
        return std::nullopt;
    return static_cast<uint32_t>(bits);
}

OsError EntryHandle::SetDosAttributes(std::optional<uint32_t> bits) const {
    if (IsLink())
        return {};
    int rc;
    if (bits) {
        char value[16];
        const int n = std::snprintf(value, sizeof value, "0x%x", *bits);
        rc = ::setxattr(ProcPath().c_str(), kDosAttrib, value, static_cast<size_t>(n), 0);
    } else {
        rc = ::removexattr(ProcPath().c_str(), kDosAttrib);
        if (rc != 0 && errno == ENODATA)
            rc = 0;
    }
    if (rc != 0 && !NotSupported(errno))
        return OsError{errno};
    return {};
}

OsError EntryHandle::ChangeMode(mode_t mode) const {
    if (IsLink())
        return {};
    if (::chmod(ProcPath().c_str(), mode) != 0)
        return OsError{errno};
    return {};
}

} // namespace brumo
