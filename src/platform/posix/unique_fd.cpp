#include "platform/posix/unique_fd.h"

#include <cerrno>
#include <unistd.h>

namespace brumo {

void UniqueFd::Reset(int fd) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

int UniqueFd::Close() {
    if (fd_ < 0)
        return 0;
    const int rc = ::close(Release());
    // A close interrupted by a signal has still released the descriptor on Linux.
    return rc == 0 || errno == EINTR ? 0 : errno;
}

int UniqueFd::WriteAll(std::string_view bytes) const {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

} // namespace brumo
