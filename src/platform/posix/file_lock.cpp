#include "platform/file_lock.h"

#include "platform/posix/unique_fd.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace brumo {

namespace {
// The lock file stays when released: removing it could let a second process lock a name that
// a third has already opened anew.
class FlockFileLock final : public FileLock {
public:
    explicit FlockFileLock(UniqueFd fd) : fd_(std::move(fd)) {}

private:
    UniqueFd fd_;
};
} // namespace

std::unique_ptr<FileLock> FileLock::TryTake(const std::string& path, bool& held, OsError& error) {
    held = false;
    error = {};
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.Valid()) {
        error = OsError{errno};
        return nullptr;
    }
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        held = errno == EWOULDBLOCK;
        if (!held)
            error = OsError{errno};
        return nullptr;
    }
    return std::make_unique<FlockFileLock>(std::move(fd));
}

} // namespace brumo
