#include "platform/posix/file_copier.h"

#include "platform/posix/unique_fd.h"
#include "platform/temp_name.h"

#include <atomic>
#include <cerrno>
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

// Temporary names carry a backslash before the maker's number: no file the program walks, and
// so no held file, has one in its name. A file system that refuses it (FAT, exFAT) gets the
// plain form with a period there, which a genuine file may share.
constexpr char kMarked = '\\';
constexpr char kPlain = '.';

// The maker of a temporary file of the marked form (or, with plainToo, of either form); 0 for
// another name.
pid_t TempMaker(std::string_view name, bool plainToo) {
    const uint32_t maker = TempName::MakerOf(name, kMarked);
    return static_cast<pid_t>(maker || !plainToo ? maker : TempName::MakerOf(name, kPlain));
}

bool ProcessHasEnded(pid_t pid) {
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Creates a new temporary file in the folder, of the marked form where the file system takes
// it; never an existing one.
OsError CreateTemp(int folderFd, const std::string& finalName, mode_t mode, UniqueFd& fd,
                   std::string& tempName) {
    static std::atomic<uint32_t> counter{0};
    char mark = kMarked;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = TempName::Make(finalName, mark, static_cast<uint32_t>(::getpid()),
                                  counter.fetch_add(1));
        fd.Reset(::openat(folderFd, tempName.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (fd.Valid())
            return {};
        if ((errno == EINVAL || errno == EILSEQ) && mark == kMarked) {
            mark = kPlain;
            continue;
        }
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

void FileCopier::RemoveStale(int folderFd, const std::string& finalName, bool plainToo) {
    const std::string head = TempName::Head(finalName);
    RemoveStaleWhere(folderFd, [&](std::string_view name) -> pid_t {
        if (name.size() <= head.size() || !name.starts_with(head))
            return 0;
        const char mark = name[head.size()];
        return mark == kMarked || (plainToo && mark == kPlain)
                   ? static_cast<pid_t>(TempName::MakerOf(name, mark))
                   : 0;
    });
}

void FileCopier::RemoveAllStale(int folderFd, bool plainToo,
                                const std::function<bool(const std::string&)>& keep) {
    RemoveStaleWhere(folderFd, [&](std::string_view name) -> pid_t {
        const pid_t maker = TempMaker(name, plainToo);
        return maker && keep && keep(std::string(name)) ? 0 : maker;
    });
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
