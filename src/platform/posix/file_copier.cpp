#include "platform/posix/file_copier.h"

#include "platform/posix/unique_fd.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <string_view>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace brumo {

namespace {

constexpr size_t kNameKept = 200;

// The process that made a temporary file: "<pid>-<n>.tmp" read from its tail; 0 when the
// tail is not of that form.
pid_t MakerOf(std::string_view tail) {
    constexpr std::string_view suffix = ".tmp";
    if (!tail.ends_with(suffix))
        return 0;
    tail.remove_suffix(suffix.size());
    const size_t dash = tail.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == tail.size())
        return 0;
    long long pid = 0;
    for (size_t i = 0; i < tail.size(); ++i) {
        if (i == dash)
            continue;
        if (tail[i] < '0' || tail[i] > '9')
            return 0;
        if (i < dash && (pid = pid * 10 + (tail[i] - '0')) > 0x7FFFFFFF)
            return 0;
    }
    return static_cast<pid_t>(pid);
}

// The maker of any temporary file: ".<final name>.<pid>-<n>.tmp", the tail starting after the
// last dot but the suffix's; 0 for another name.
pid_t TempMaker(std::string_view name) {
    if (name.size() < 2 || name[0] != '.' || !name.ends_with(".tmp"))
        return 0;
    const size_t dot = name.substr(0, name.size() - 4).rfind('.');
    if (dot == std::string_view::npos || dot < 2)
        return 0;
    return MakerOf(name.substr(dot + 1));
}

bool ProcessHasEnded(pid_t pid) {
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Creates a new temporary file ".<name>.<pid>-<n>.tmp" in the folder; never an existing one.
OsError CreateTemp(int folderFd, const std::string& finalName, mode_t mode, UniqueFd& fd,
                   std::string& tempName) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".%d-%u.tmp", static_cast<int>(::getpid()),
                      counter.fetch_add(1));
        // Keep the name within NAME_MAX however long the final name is.
        tempName = "." + finalName.substr(0, kNameKept) + suffix;
        fd.Reset(::openat(folderFd, tempName.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (fd.Valid())
            return {};
        if (errno != EEXIST)
            return OsError{errno};
    }
    return OsError{EEXIST};
}

// Removes the folder's entries for which makerOf names a process that has ended.
template <typename MakerOfName> void RemoveStaleWhere(int folderFd, MakerOfName makerOf) {
    const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return;
    }
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (ProcessHasEnded(makerOf(name)))
            stale.emplace_back(name);
    }
    ::closedir(dir);
    for (const std::string& name : stale)
        ::unlinkat(folderFd, name.c_str(), 0);
}

// Every extended attribute the source lets us read (DOS attributes, tags, labels...); one the
// target's file system or our rights refuse is left behind, the rest still go.
void CopyExtendedAttributes(int sourceFd, int targetFd) {
    std::vector<char> names(1024);
    ssize_t length;
    while ((length = ::flistxattr(sourceFd, names.data(), names.size())) < 0 && errno == ERANGE)
        names.resize(names.size() * 4);
    if (length <= 0)
        return;
    std::vector<char> value(256);
    for (const char* name = names.data(); name < names.data() + length;
         name += std::strlen(name) + 1) {
        ssize_t size;
        while ((size = ::fgetxattr(sourceFd, name, value.data(), value.size())) < 0 &&
               errno == ERANGE && value.size() < (1u << 24))
            value.resize(value.size() * 4);
        if (size >= 0)
            ::fsetxattr(targetFd, name, value.data(), static_cast<size_t>(size), 0);
    }
}

OsError Finish(UniqueFd& fd) {
    if (::fsync(fd.Get()) != 0)
        return OsError{errno};
    if (const int e = fd.Close())
        return OsError{e};
    return {};
}

} // namespace

OsError FileCopier::CopyToTemp(int sourceFd, const struct stat& source, int folderFd,
                               const std::string& finalName, std::string& tempName) {
    UniqueFd out;
    if (OsError e = CreateTemp(folderFd, finalName, 0600, out, tempName))
        return e;
    const auto fail = [&](OsError e) {
        out.Reset();
        ::unlinkat(folderFd, tempName.c_str(), 0);
        return e;
    };
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(sourceFd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(OsError{errno});
        if (n == 0)
            break;
        if (const int e = out.WriteAll({buffer.data(), static_cast<size_t>(n)}))
            return fail(OsError{e});
    }
    // Attributes while the copy is still writable; owner next: changing it may clear the
    // set-id bits that the mode then puts back.
    CopyExtendedAttributes(sourceFd, out.Get());
    if (::fchown(out.Get(), source.st_uid, source.st_gid) != 0 && errno != EPERM)
        return fail(OsError{errno});
    if (::fchmod(out.Get(), source.st_mode & 07777) != 0)
        return fail(OsError{errno});
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    if (::futimens(out.Get(), times) != 0)
        return fail(OsError{errno});
    if (OsError e = Finish(out))
        return fail(e);
    return {};
}

OsError FileCopier::WriteToTemp(std::string_view bytes, mode_t mode, int folderFd,
                                const std::string& finalName, std::string& tempName) {
    UniqueFd out;
    if (OsError e = CreateTemp(folderFd, finalName, 0666, out, tempName))
        return e;
    OsError e{out.WriteAll(bytes)};
    if (!e && mode != 0 && ::fchmod(out.Get(), mode & 07777) != 0)
        e = OsError{errno};
    if (!e)
        e = Finish(out);
    if (e) {
        out.Reset();
        ::unlinkat(folderFd, tempName.c_str(), 0);
    }
    return e;
}

int FileCopier::RenameNoReplace(int fromDir, const std::string& from, int toDir,
                                const std::string& to) {
    if (::renameat2(fromDir, from.c_str(), toDir, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // No RENAME_NOREPLACE on this file system: the check and the rename are two steps.
    struct stat st;
    if (::fstatat(toDir, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    return ::renameat(fromDir, from.c_str(), toDir, to.c_str()) == 0 ? 0 : errno;
}

OsError FileCopier::Commit(int folderFd, const std::string& tempName, const std::string& finalName,
                           bool replace) {
    int code;
    if (replace) {
        code = ::renameat(folderFd, tempName.c_str(), folderFd, finalName.c_str()) == 0 ? 0 : errno;
    } else {
        code = RenameNoReplace(folderFd, tempName, folderFd, finalName);
    }
    if (code) {
        ::unlinkat(folderFd, tempName.c_str(), 0);
        return OsError{code};
    }
    return SyncFolder(folderFd);
}

void FileCopier::RemoveStale(int folderFd, const std::string& finalName) {
    const std::string prefix = "." + finalName.substr(0, kNameKept) + ".";
    RemoveStaleWhere(folderFd, [&prefix](std::string_view name) {
        return name.size() > prefix.size() && name.starts_with(prefix)
                   ? MakerOf(name.substr(prefix.size()))
                   : 0;
    });
}

void FileCopier::RemoveAllStale(int folderFd, const std::function<bool(const std::string&)>& keep) {
    RemoveStaleWhere(folderFd, [&keep](std::string_view name) -> pid_t {
        const pid_t maker = TempMaker(name);
        return maker && keep && keep(std::string(name)) ? 0 : maker;
    });
}

bool FileCopier::IsTempName(std::string_view name) {
    return TempMaker(name) != 0;
}

OsError FileCopier::SyncFolder(int folderFd) {
    UniqueFd folder(::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid())
        return {}; // a folder the user may not read cannot be flushed by the user either
    if (::fsync(folder.Get()) != 0 && errno != EINVAL)
        return OsError{errno};
    return {};
}

} // namespace brumo
