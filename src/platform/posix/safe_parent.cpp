#include "platform/posix/safe_parent.h"

#include "platform/posix/drive_table.h"
#include "platform/posix/folder_case.h"
#include "platform/posix/utf8_case.h"
#include "platform/posix/windows_path.h"
#include "platform/special_folders.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace brumo {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr int kHandleFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Opens a folder below dirFd without following a link; a folder the user may search but not
// list still opens as a handle, so that the chain can pass through it.
int OpenChild(int dirFd, const std::string& name, bool readable) {
    int fd = ::openat(dirFd, name.c_str(), kFolderFlags);
    if (fd < 0 && errno == EACCES && !readable)
        fd = ::openat(dirFd, name.c_str(), kHandleFlags);
    return fd;
}

using Spelling = SafeParent::Spelling;

// An entry missing in its exact case: whether the case fallback may look for it.
bool MayFallBack(int folderFd, Spelling spelling) {
    return spelling == Spelling::AnyCase || FolderCase::Folds(folderFd);
}

// The real name of an entry of a folder, as ResolveName, where the spelling allows it.
std::optional<std::string> Resolve(int folderFd, const std::string& name, Spelling spelling) {
    struct stat st;
    if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return name;
    if (errno != ENOENT || !MayFallBack(folderFd, spelling))
        return std::nullopt;
    return SafeParent::ResolveName(folderFd, name);
}

// One step down the chain: exact name, then the case fallback, then (when asked) a new folder.
OsError Descend(UniqueFd& dir, const std::string& name, bool readable, bool create,
                Spelling spelling, std::string& hostPath) {
    std::string real = name;
    int fd = OpenChild(dir.Get(), real, readable);
    if (fd < 0 && errno == ENOENT) {
        std::optional<std::string> found;
        if (MayFallBack(dir.Get(), spelling))
            found = SafeParent::ResolveName(dir.Get(), name);
        if (found) {
            real = *found;
            fd = OpenChild(dir.Get(), real, readable);
        } else {
            errno = ENOENT;
        }
    }
    if (fd < 0 && errno == ENOENT && create) {
        if (::mkdirat(dir.Get(), real.c_str(), 0777) != 0 && errno != EEXIST)
            return OsError{errno};
        fd = OpenChild(dir.Get(), real, readable);
    }
    if (fd < 0)
        return OsError{errno};
    dir.Reset(fd);
    if (hostPath.size() > 1 || hostPath.empty())
        hostPath += '/';
    hostPath += real;
    return {};
}

std::vector<std::string> SplitHost(const std::string& path) {
    std::vector<std::string> parts;
    const std::string normal = DriveTable::NormaliseHostPath(path);
    size_t i = 1;
    while (i < normal.size()) {
        size_t j = normal.find('/', i);
        if (j == std::string::npos)
            j = normal.size();
        parts.push_back(normal.substr(i, j - i));
        i = j + 1;
    }
    return parts;
}

// How many leading components of a host path name the data folder, when the path lies below
// it; 0 otherwise.
size_t DataFolderDepth(const std::vector<std::string>& parts) {
    const std::string data = SpecialFolders::UserDataFolder();
    if (data.empty())
        return 0;
    const std::vector<std::string> own = SplitHost(data);
    if (own.empty() || own.size() >= parts.size() ||
        !std::equal(own.begin(), own.end(), parts.begin()))
        return 0;
    return own.size();
}

// Host paths: folders followed as the system resolves them, up to the data folder; below it
// (its holding folders) never through a link, as below a drive. Missing ones made on request.
OsError OpenHostFolder(const std::vector<std::string>& parts, size_t count, bool readable,
                       bool create, UniqueFd& out, std::string& hostPath) {
    hostPath.assign(1, '/');
    UniqueFd dir(::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.Valid())
        return OsError{errno};
    const size_t followed = DataFolderDepth(parts);
    for (size_t i = 0; i < count; ++i) {
        const int noFollow = followed != 0 && i >= followed ? O_NOFOLLOW : 0;
        const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | noFollow;
        int fd = ::openat(dir.Get(), parts[i].c_str(), flags);
        if (fd < 0 && errno == ENOENT && create) {
            if (::mkdirat(dir.Get(), parts[i].c_str(), 0777) != 0 && errno != EEXIST)
                return OsError{errno};
            fd = ::openat(dir.Get(), parts[i].c_str(), flags);
        }
        if (fd < 0 && errno == EACCES && (!readable || i + 1 < count))
            fd = ::openat(dir.Get(), parts[i].c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC | noFollow);
        if (fd < 0)
            return OsError{errno};
        dir.Reset(fd);
        if (hostPath.size() > 1)
            hostPath += '/';
        hostPath += parts[i];
    }
    out = std::move(dir);
    return {};
}

// Opens the folder formed by the first `count` components of a Windows path.
OsError OpenWindowsFolder(const WindowsPath& path, size_t count, bool readable, bool create,
                          Spelling spelling, UniqueFd& out, std::string& hostPath) {
    const auto table = DriveTable::Current();
    const DriveEntry* drive = table->Find(path.drive);
    if (!drive)
        return OsError{ENOENT};
    // The drive's own folder is configuration: it may be reached through links.
    UniqueFd dir(::open(drive->folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.Valid() && errno == EACCES && (!readable || count > 0))
        dir.Reset(::open(drive->folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!dir.Valid())
        return OsError{errno};
    hostPath = drive->folder;
    for (size_t i = 0; i < count; ++i) {
        const bool last = i + 1 == count;
        if (OsError e = Descend(dir, path.parts[i], readable && last, create, spelling, hostPath))
            return e;
    }
    out = std::move(dir);
    return {};
}

} // namespace

std::optional<std::string> SafeParent::ResolveName(int folderFd, const std::string& name) {
    struct stat st;
    if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return name;
    if (errno != ENOENT)
        return std::nullopt;
    const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return std::nullopt;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return std::nullopt;
    }
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view candidate = entry->d_name;
        if (candidate == "." || candidate == "..")
            continue;
        if (Utf8Case::Equal(candidate, name) && (!best || candidate < *best))
            best = std::string(candidate);
    }
    ::closedir(dir);
    return best;
}

OsError SafeParent::Open(const std::string& path, SafeParent& out, bool createFolders,
                         Spelling spelling) {
    out = SafeParent();
    if (!path.empty() && path[0] == '/') {
        const auto parts = SplitHost(path);
        if (parts.empty())
            return OsError{EINVAL};
        UniqueFd dir;
        std::string host;
        if (OsError e = OpenHostFolder(parts, parts.size() - 1, false, createFolders, dir, host))
            return e;
        out.fd_ = std::move(dir);
        out.name_ = parts.back();
        out.hostPath_ = (host == "/" ? host : host + "/") + out.name_;
        return {};
    }
    const auto parsed = WindowsPath::Parse(path);
    if (!parsed)
        return OsError{EINVAL};
    if (parsed->parts.empty())
        return OsError{EINVAL};
    UniqueFd dir;
    std::string host;
    const size_t count = parsed->parts.size() - 1;
    // The parent is asked for readable, so that a caller may also list it.
    if (OsError e = OpenWindowsFolder(*parsed, count, true, createFolders, spelling, dir, host)) {
        if (e.code != EACCES)
            return e;
        if (OsError again =
                OpenWindowsFolder(*parsed, count, false, createFolders, spelling, dir, host))
            return again;
    }
    const std::string& given = parsed->parts.back();
    out.name_ = Resolve(dir.Get(), given, spelling).value_or(given);
    out.fd_ = std::move(dir);
    out.hostPath_ = (host == "/" ? host : host + "/") + out.name_;
    return {};
}

OsError SafeParent::OpenFolder(const std::string& path, UniqueFd& out, bool createFolders,
                               Spelling spelling) {
    std::string host;
    if (!path.empty() && path[0] == '/') {
        const auto parts = SplitHost(path);
        return OpenHostFolder(parts, parts.size(), true, createFolders, out, host);
    }
    const auto parsed = WindowsPath::Parse(path);
    if (!parsed)
        return OsError{EINVAL};
    return OpenWindowsFolder(*parsed, parsed->parts.size(), true, createFolders, spelling, out,
                             host);
}

} // namespace brumo
