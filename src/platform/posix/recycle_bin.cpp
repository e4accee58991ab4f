#include "platform/recycle_bin.h"

#include "platform/os_error.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/safe_parent.h"
#include "platform/posix/trash_can.h"
#include "platform/posix/unique_fd.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace brumo {

namespace {

// The real path of an open folder (links resolved), as the mount table spells paths.
std::string RealPathOf(int fd, const std::string& fallback) {
    char buffer[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof buffer) || buffer[0] != '/')
        return fallback;
    return std::string(buffer, static_cast<size_t>(n));
}

std::string ParentOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

// The top folder of the file system holding `folder` (device `device`): its mount point, or
// where the mount table cannot tell, the highest folder above it on the same device.
std::string TopFolderOf(const std::string& folder, dev_t device) {
    const std::string mount = MountTable::Current()->MountPointOf(folder);
    struct stat st {};
    if (::stat(mount.c_str(), &st) == 0 && st.st_dev == device)
        return mount;
    std::string top = folder;
    while (top != "/") {
        const std::string up = ParentOf(top);
        if (::stat(up.c_str(), &st) != 0 || st.st_dev != device)
            break;
        top = up;
    }
    return top;
}

// The trash folders one batch uses, found once per file system.
class TrashFinder {
public:
    // The trash for files of `device` found in `folder`; null with errno set when there is
    // none the user may use.
    const TrashCan* For(dev_t device, const std::string& folder) {
        if (!homeTried_) {
            homeTried_ = true;
            home_ = TrashCan::Home();
        }
        if (home_ && home_->Device() == device)
            return home_.get();
        auto it = tops_.find(device);
        if (it == tops_.end()) {
            Top top;
            const std::string topFolder = TopFolderOf(folder, device);
            UniqueFd fd(::open(topFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (fd.Valid())
                top.can = TrashCan::ForTopFolder(fd.Get(), topFolder, ::getuid());
            top.error = top.can ? 0 : errno;
            if (top.can && top.can->Device() != device) {
                top.can.reset();
                top.error = EXDEV;
            }
            it = tops_.emplace(device, std::move(top)).first;
        }
        if (!it->second.can)
            errno = it->second.error ? it->second.error : EACCES;
        return it->second.can.get();
    }

private:
    struct Top {
        std::unique_ptr<TrashCan> can;
        int error = 0;
    };
    bool homeTried_ = false;
    std::unique_ptr<TrashCan> home_;
    std::map<dev_t, Top> tops_;
};

} // namespace

namespace {

int SendOne(TrashFinder& finder, const std::string& path) {
    SafeParent parent;
    if (OsError e = SafeParent::Open(path, parent, false, SafeParent::Spelling::AsOnDisk))
        return e.code;
    struct stat st {};
    if (::fstatat(parent.Fd(), parent.Name().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    const std::string folder = RealPathOf(parent.Fd(), ParentOf(parent.HostPath()));
    const TrashCan* can = finder.For(st.st_dev, folder);
    if (!can)
        return errno;
    const std::string hostPath = (folder == "/" ? folder : folder + "/") + parent.Name();
    return can->Put(parent.Fd(), parent.Name(), hostPath, std::time(nullptr));
}

} // namespace

int RecycleBin::SendFiles(const std::vector<std::string>& paths) {
    TrashFinder finder;
    for (const std::string& path : paths)
        if (const int error = SendOne(finder, path))
            return error;
    return 0;
}

std::vector<int> RecycleBin::SendEach(const std::vector<std::string>& paths) {
    TrashFinder finder;
    std::vector<int> results;
    results.reserve(paths.size());
    for (const std::string& path : paths)
        results.push_back(SendOne(finder, path));
    return results;
}

std::string RecycleBin::ErrorText(int code) {
    return OsError::MessageFor(code);
}

} // namespace brumo
