#include "platform/file_writer.h"

#include "platform/posix/safe_parent.h"
#include "platform/posix/unique_fd.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace brumo {

namespace {

class PosixFileWriter : public FileWriter {
public:
    explicit PosixFileWriter(UniqueFd fd) : fd_(std::move(fd)) {}

    // One piece is written whole before another thread's piece begins.
    OsError Write(std::string_view bytes) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!fd_.Valid())
            return OsError{EBADF};
        return OsError{fd_.WriteAll(bytes)};
    }

    OsError Close() override {
        std::lock_guard<std::mutex> lock(mutex_);
        return OsError{fd_.Close()};
    }

private:
    std::mutex mutex_;
    UniqueFd fd_;
};

} // namespace

OsError FileWriter::Open(const std::string& path, Mode mode, std::unique_ptr<FileWriter>& out) {
    out.reset();
    SafeParent parent;
    if (OsError e = SafeParent::Open(path, parent))
        return e;
    struct stat existing;
    if (::fstatat(parent.Fd(), parent.Name().c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(existing.st_mode) && (existing.st_mode & S_IWUSR) == 0)
        return OsError{EACCES}; // read-only, as on Windows, even for an administrator
    const int flags =
        O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (mode == Mode::Append ? O_APPEND : O_TRUNC);
    UniqueFd fd(::openat(parent.Fd(), parent.Name().c_str(), flags, 0666));
    if (!fd.Valid())
        return OsError{errno};
    out = std::make_unique<PosixFileWriter>(std::move(fd));
    return {};
}

} // namespace brumo
