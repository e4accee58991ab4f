#include "platform/recycle_bin.h"

#include "platform/os_error.h"
#include "platform/posix/file_kind.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/safe_parent.h"
#include "platform/posix/trash_can.h"
#include "platform/posix/unique_fd.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <sys/statvfs.h>
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
    // The user's home trash; null (errno set) when it cannot be made.
    const TrashCan* Home() {
        if (!homeTried_) {
            homeTried_ = true;
            home_ = TrashCan::Home();
            homeError_ = home_ ? 0 : errno;
        }
        errno = homeError_;
        return home_.get();
    }

    // The trash for files of `device` found in `folder`: the home trash for the home's file
    // system, else the file system's own. Null when there is none the user may use, with
    // errno set and `refused` naming the trash folder that refused.
    const TrashCan* For(dev_t device, const std::string& folder, std::string& refused) {
        const TrashCan* home = Home();
        if (home && home->Device() == device)
            return home;
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
            top.path =
                (topFolder == "/" ? "" : topFolder) + "/.Trash-" + std::to_string(::getuid());
            it = tops_.emplace(device, std::move(top)).first;
        }
        if (!it->second.can) {
            errno = it->second.error ? it->second.error : EACCES;
            refused = it->second.path;
        }
        return it->second.can.get();
    }

private:
    struct Top {
        std::unique_ptr<TrashCan> can;
        int error = 0;
        std::string path;
    };
    bool homeTried_ = false;
    int homeError_ = 0;
    std::unique_ptr<TrashCan> home_;
    std::map<dev_t, Top> tops_;
};

RecycleResult Failure(int code, std::string trashFolder = {}) {
    RecycleResult result;
    result.code = code;
    result.trashFolder = std::move(trashFolder);
    return result;
}

bool IsReadOnly(int folderFd) {
    struct statvfs vfs {};
    return ::fstatvfs(folderFd, &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0;
}

RecycleResult SendOne(TrashFinder& finder, const std::string& path) {
    SafeParent parent;
    if (OsError e = SafeParent::Open(path, parent, false, SafeParent::Spelling::AsOnDisk))
        return Failure(e.code);
    struct stat st {};
    if (::fstatat(parent.Fd(), parent.Name().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return Failure(errno);
    // A run queues files until its batch is sent: much may stand at the name by then.
    if (OsError e = FileKind::OnlyFileOrLink(st))
        return Failure(e.code);
    const std::string folder = RealPathOf(parent.Fd(), ParentOf(parent.HostPath()));
    const std::string hostPath = (folder == "/" ? folder : folder + "/") + parent.Name();
    const std::time_t now = std::time(nullptr);
    std::string refused;
    RecycleResult result;
    if (const TrashCan* can = finder.For(st.st_dev, folder, refused)) {
        result.code = can->Put(parent.Fd(), parent.Name(), hostPath, now);
    } else {
        // The volume's own trash cannot be used (a top folder the user may not write, an
        // unsafe .Trash): the home trash takes a copy, and the file goes only once the copy is
        // whole.
        const int volumeError = errno;
        const TrashCan* home = finder.Home();
        if (!home)
            return Failure(volumeError, refused);
        result.code = home->PutCopy(parent.Fd(), parent.Name(), hostPath, now);
        if (result.code != 0) {
            result.trashFolder = home->HostPath();
            result.volume = TopFolderOf(folder, st.st_dev);
            result.volumeCode = volumeError;
        }
    }
    // Nothing leaves a read-only volume, whichever trash was tried: the volume is the cause.
    if (result.code != 0 && IsReadOnly(parent.Fd())) {
        result = Failure(EROFS);
        result.volume = TopFolderOf(folder, st.st_dev);
        result.volumeCode = EROFS;
    }
    return result;
}

} // namespace

int RecycleBin::SendFiles(const std::vector<std::string>& paths) {
    TrashFinder finder;
    for (const std::string& path : paths)
        if (const RecycleResult result = SendOne(finder, path); result.code != 0)
            return result.code;
    return 0;
}

std::vector<RecycleResult> RecycleBin::SendEach(const std::vector<std::string>& paths) {
    TrashFinder finder;
    std::vector<RecycleResult> results;
    results.reserve(paths.size());
    for (const std::string& path : paths)
        results.push_back(SendOne(finder, path));
    return results;
}

std::string RecycleBin::ErrorText(int code) {
    return OsError::MessageFor(code);
}

} // namespace brumo
