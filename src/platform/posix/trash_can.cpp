#include "platform/posix/trash_can.h"

#include "platform/posix/file_copier.h"
#include "platform/posix/home_folder.h"
#include "platform/posix/trash_info.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brumo {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr size_t kMaxName = 255;
constexpr const char* kInfoSuffix = ".trashinfo";
constexpr int kMaxTries = 10000;

// Opens a subfolder, making it (mode 0700) when missing; never through a link.
int OpenOrMake(int dirFd, const char* name) {
    int fd = ::openat(dirFd, name, kFolderFlags);
    if (fd < 0 && errno == ENOENT) {
        if (::mkdirat(dirFd, name, 0700) != 0 && errno != EEXIST)
            return -1;
        fd = ::openat(dirFd, name, kFolderFlags);
    }
    return fd;
}

// A trash folder of a shared top folder must be the user's own, or others could read or
// plant files in it.
bool OwnedPrivately(int fd, uid_t uid) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && st.st_uid == uid && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Makes every missing folder of an absolute path (mode 0700) and opens the last one. The
// user's own data folder is configuration: links in it are followed.
int MakeFolders(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 || errno != ENOENT)
        return fd;
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return -1;
    if (slash > 0) {
        const int parent = MakeFolders(path.substr(0, slash));
        if (parent < 0)
            return -1;
        ::close(parent);
    }
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return -1;
    return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// The stored name: short enough that a counter and the description's suffix still fit,
// never cut inside a UTF-8 sequence.
std::string StoredName(const std::string& name) {
    const size_t limit = kMaxName - std::char_traits<char>::length(kInfoSuffix) - 6;
    if (name.size() <= limit)
        return name;
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return name.substr(0, cut);
}

} // namespace

std::unique_ptr<TrashCan> TrashCan::FromFolder(UniqueFd folder, std::string hostPath) {
    auto can = std::unique_ptr<TrashCan>(new TrashCan());
    can->files_.Reset(OpenOrMake(folder.Get(), "files"));
    if (!can->files_.Valid())
        return nullptr;
    can->info_.Reset(OpenOrMake(folder.Get(), "info"));
    if (!can->info_.Valid())
        return nullptr;
    struct stat st {};
    if (::fstat(can->files_.Get(), &st) != 0)
        return nullptr;
    can->device_ = st.st_dev;
    can->hostPath_ = std::move(hostPath);
    return can;
}

std::string TrashCan::HomePath() {
    std::string data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
        data = xdg;
    } else {
        const std::string home = HomeFolder::Path();
        if (home.empty())
            return {};
        data = home + "/.local/share";
    }
    while (data.size() > 1 && data.back() == '/')
        data.pop_back();
    return data + "/Trash";
}

std::unique_ptr<TrashCan> TrashCan::Home() {
    const std::string path = HomePath();
    if (path.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    UniqueFd folder(MakeFolders(path));
    if (!folder.Valid())
        return nullptr;
    return FromFolder(std::move(folder), path);
}

std::unique_ptr<TrashCan> TrashCan::ForTopFolder(int topFd, std::string topHostPath, uid_t uid) {
    const std::string uidText = std::to_string(uid);
    const std::string base = topHostPath == "/" ? "" : topHostPath;
    struct stat st {};
    if (::fstatat(topFd, ".Trash", &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode) &&
        (st.st_mode & S_ISVTX)) {
        UniqueFd shared(::openat(topFd, ".Trash", kFolderFlags));
        if (shared.Valid()) {
            UniqueFd own(OpenOrMake(shared.Get(), uidText.c_str()));
            if (own.Valid() && OwnedPrivately(own.Get(), uid)) {
                if (auto can = FromFolder(std::move(own), base + "/.Trash/" + uidText)) {
                    can->topFolder_ = topHostPath;
                    return can;
                }
            }
        }
    }
    const std::string name = ".Trash-" + uidText;
    UniqueFd own(OpenOrMake(topFd, name.c_str()));
    if (!own.Valid())
        return nullptr;
    if (!OwnedPrivately(own.Get(), uid)) {
        errno = EACCES;
        return nullptr;
    }
    auto can = FromFolder(std::move(own), base + "/" + name);
    if (can)
        can->topFolder_ = topHostPath;
    return can;
}

int TrashCan::MoveAs(int parentFd, const std::string& name, const std::string& target) const {
    // Never over a file already in files/ (one whose description was lost, say).
    static std::atomic<bool> noReplaceWorks{true};
    if (noReplaceWorks.load(std::memory_order_relaxed)) {
        if (::renameat2(parentFd, name.c_str(), files_.Get(), target.c_str(), RENAME_NOREPLACE) ==
            0)
            return 0;
        if (errno != EINVAL && errno != ENOSYS)
            return errno;
        noReplaceWorks.store(false, std::memory_order_relaxed);
    }
    struct stat st {};
    if (::fstatat(files_.Get(), target.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return ::renameat(parentFd, name.c_str(), files_.Get(), target.c_str()) == 0 ? 0 : errno;
}

void TrashCan::SweepCrashedCopies() const {
    if (swept_)
        return;
    swept_ = true;
    // Partial copies a crashed run left go before the first copy, once for the whole batch:
    // looking at every copy would read files/ once per file. A trashed file that only looks
    // like one keeps its description in info/ and stays.
    FileCopier::RemoveAllStale(files_.Get(), true, [this](const std::string& name) {
        struct stat st {};
        return ::fstatat(info_.Get(), (name + kInfoSuffix).c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    });
}

int TrashCan::CopyAs(int parentFd, const std::string& name, const std::string& target) const {
    struct stat st {};
    if (::fstatat(parentFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (S_ISLNK(st.st_mode)) {
        std::string link(static_cast<size_t>(st.st_size) + 1, '\0');
        const ssize_t n = ::readlinkat(parentFd, name.c_str(), link.data(), link.size());
        if (n < 0)
            return errno;
        link.resize(static_cast<size_t>(n));
        if (::symlinkat(link.c_str(), files_.Get(), target.c_str()) != 0)
            return errno;
    } else if (S_ISREG(st.st_mode)) {
        UniqueFd source(::openat(parentFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (!source.Valid())
            return errno;
        struct stat opened {};
        if (::fstat(source.Get(), &opened) != 0)
            return errno;
        if (opened.st_dev != st.st_dev || opened.st_ino != st.st_ino)
            return ENOENT; // the name now stands for another file
        SweepCrashedCopies();
        std::string temp;
        if (OsError e = FileCopier::CopyToTemp(source.Get(), opened, files_.Get(), target, temp))
            return e.code;
        if (OsError e = FileCopier::Commit(files_.Get(), temp, target, false))
            return e.code;
    } else {
        return EXDEV; // folders and special files are not copied
    }
    // The source goes only once its copy is whole; if it cannot go, neither does the copy,
    // so that the file is never in both places.
    if (::unlinkat(parentFd, name.c_str(), 0) != 0) {
        const int error = errno;
        ::unlinkat(files_.Get(), target.c_str(), 0);
        return error;
    }
    return 0;
}

int TrashCan::Put(int parentFd, const std::string& name, const std::string& hostPath,
                  std::time_t deletedAt) const {
    return Store(parentFd, name, hostPath, deletedAt, false);
}

int TrashCan::PutCopy(int parentFd, const std::string& name, const std::string& hostPath,
                      std::time_t deletedAt) const {
    return Store(parentFd, name, hostPath, deletedAt, true);
}

int TrashCan::Store(int parentFd, const std::string& name, const std::string& hostPath,
                    std::time_t deletedAt, bool copy) const {
    std::string path = hostPath;
    if (!topFolder_.empty()) {
        // Below a top folder the path is kept relative to it, so the trash survives the file
        // system being mounted elsewhere.
        const size_t skip = topFolder_ == "/" ? 1 : topFolder_.size() + 1;
        path = hostPath.size() > skip ? hostPath.substr(skip) : hostPath;
    }
    const std::string text = TrashInfo::Text(path, deletedAt);
    const std::string stem = StoredName(name);
    for (int n = 1; n <= kMaxTries; ++n) {
        const std::string stored = n == 1 ? stem : stem + "." + std::to_string(n);
        const std::string infoName = stored + kInfoSuffix;
        UniqueFd info(::openat(info_.Get(), infoName.c_str(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!info.Valid()) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        int written = info.WriteAll(text);
        if (written == 0)
            written = info.Close();
        if (written != 0) {
            ::unlinkat(info_.Get(), infoName.c_str(), 0);
            return written;
        }
        const int moved = copy ? CopyAs(parentFd, name, stored) : MoveAs(parentFd, name, stored);
        if (moved == 0)
            return 0;
        ::unlinkat(info_.Get(), infoName.c_str(), 0);
        if (moved != EEXIST)
            return moved;
    }
    return EEXIST;
}

} // namespace brumo
