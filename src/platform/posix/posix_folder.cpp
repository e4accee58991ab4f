#include "platform/posix/posix_folder.h"

#include "platform/file_attributes.h"
#include "platform/path_map.h"
#include "platform/posix/dos_attributes.h"
#include "platform/posix/drive_table.h"
#include "platform/posix/folder_case.h"
#include "platform/posix/name_pattern.h"
#include "platform/posix/safe_parent.h"
#include "platform/posix/utf8_case.h"
#include "platform/posix/windows_path.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace brumo {

std::atomic<uint64_t> PosixFolder::statCalls_{0};

namespace {

std::string JoinHost(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

std::string JoinWindows(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || path.back() != '\\')
        path += '\\';
    path += name;
    return path;
}

// The Windows path of a host path at or below a drive's folder, each component spelled as on
// disk.
std::string WindowsSpelling(char letter, const std::string& driveFolder, const std::string& host) {
    std::string out{letter, ':'};
    UniqueFd dir(::open(driveFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    const std::string_view rest = std::string_view(host).substr(driveFolder.size());
    for (size_t i = 0; i < rest.size();) {
        size_t end = rest.find('/', i);
        if (end == std::string_view::npos)
            end = rest.size();
        if (end > i) {
            std::string name(rest.substr(i, end - i));
            if (dir.Valid()) {
                name = FolderCase::ListedSpelling(dir.Get(), name).value_or(name);
                dir.Reset(::openat(dir.Get(), name.c_str(),
                                   O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            }
            out.append(1, '\\').append(name);
        }
        i = end + 1;
    }
    return out;
}

// Why a folder that exists could not be opened for reading; nothing for a missing one, or for
// a link, which is never entered.
OsError Unreadable(int code) {
    if (code == 0 || code == ENOENT || code == ENOTDIR || code == ELOOP)
        return {};
    return OsError{code};
}

// Opens a folder as Folder::Open takes its path (errno set when it fails): `given` is that path
// without a trailing backslash, spelled as on disk when `spell` asks for it (where the file
// system folds case that reads every folder of the way), `host` where the folder is found.
bool OpenFolder(const std::string& path, std::string& given, UniqueFd& fd, std::string& host,
                bool spell) {
    given = path;
    if (given.size() > 2 && given.back() == '\\')
        given.pop_back();
    if (!given.empty() && given[0] == '/') {
        // The program's own folders, outside every drive: resolved as the system does.
        if (const OsError e = SafeParent::OpenFolder(given, fd)) {
            errno = e.code;
            return false;
        }
        host = DriveTable::NormaliseHostPath(given);
    } else {
        const auto parsed = WindowsPath::Parse(given);
        if (!parsed)
            return false;
        const auto table = DriveTable::Current();
        const DriveEntry* drive = table->Find(parsed->drive);
        if (!drive)
            return false;
        if (parsed->parts.empty()) {
            if (const OsError e = SafeParent::OpenFolder(given, fd)) {
                errno = e.code;
                return false;
            }
            host = drive->folder;
        } else {
            SafeParent parent;
            if (const OsError e = SafeParent::Open(given, parent)) {
                errno = e.code;
                return false;
            }
            fd.Reset(::openat(parent.Fd(), parent.Name().c_str(),
                              O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (!fd.Valid())
                return false;
            host = parent.HostPath();
        }
        // One spelling per folder: a folder written in another case is known by its own.
        if (spell)
            given = WindowsSpelling(parsed->drive, drive->folder, host);
        // Mount points are known by their real paths.
        if (!drive->realFolder.empty() && drive->realFolder != drive->folder)
            host = drive->realFolder + host.substr(drive->folder.size());
    }
    return true;
}
} // namespace

bool Folder::SpellsAsOnDisk() {
    return true;
}

std::unique_ptr<Folder> Folder::Open(const std::string& path, OsError* unreadable) {
    std::string given, host;
    UniqueFd fd;
    errno = 0;
    std::unique_ptr<Folder> folder;
    if (OpenFolder(path, given, fd, host, true))
        folder =
            PosixFolder::Create(DirHandle::Adopt(fd.Release()), given, host, MountTable::Current());
    if (!folder && unreadable)
        *unreadable = Unreadable(errno);
    return folder;
}

std::optional<FolderIdentity> Folder::IdentityOf(const std::string& path) {
    // Where the folder really is, links followed: a data folder that is a link to a folder on
    // a drive must keep the walks out when they reach that folder by its own path.
    const std::optional<std::string> host =
        !path.empty() && path[0] == '/' ? std::optional(path) : PathMap::ToHost(path);
    struct stat st {};
    if (!host || ::stat(host->c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return FolderIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

std::vector<FolderIdentity> Folder::LineageOf(const std::string& path) {
    std::vector<FolderIdentity> lineage;
    const std::optional<std::string> host =
        !path.empty() && path[0] == '/' ? std::optional(path) : PathMap::ToHost(path);
    if (!host)
        return lineage;
    // Up through "..", as the system sees the tree: no spelling of the path is trusted.
    UniqueFd dir(::open(host->c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat st {};
    while (dir.Valid() && ::fstat(dir.Get(), &st) == 0) {
        const FolderIdentity id{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
        if (!lineage.empty() && lineage.back() == id)
            break; // the top: its ".." is itself
        lineage.push_back(id);
        dir.Reset(::openat(dir.Get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
    }
    return lineage;
}

bool Folder::HasSubfolder(const std::string& path,
                          const std::function<bool(std::string_view)>& accept) {
    std::string given, host;
    UniqueFd fd;
    if (!OpenFolder(path, given, fd, host, false))
        return false;
    const auto mounts = MountTable::Current();
    const bool mountsInside = mounts && mounts->HasMountsIn(host);
    bool found = false;
    DirListing::Scan(fd.Get(), [&](std::string_view name, unsigned char type) {
        if (type == DT_UNKNOWN) {
            struct stat st {};
            if (PosixFolder::StatAt(fd.Get(), std::string(name).c_str(), st, AT_SYMLINK_NOFOLLOW) !=
                    0 ||
                !S_ISDIR(st.st_mode))
                return false;
        } else if (type != DT_DIR) {
            return false; // links included: they are never walked
        }
        found = accept(name) && !(mountsInside && mounts->IsMountPoint(JoinHost(host, name)));
        return found;
    });
    return found;
}

std::unique_ptr<PosixFolder> PosixFolder::Create(std::shared_ptr<DirHandle> handle,
                                                 std::string path, std::string hostPath,
                                                 std::shared_ptr<const MountTable> mounts) {
    std::unique_ptr<PosixFolder> folder(new PosixFolder());
    int error = 0;
    {
        DirHandle::Use use = handle->Acquire();
        if (!use || !folder->listing_.Read(use.Fd()))
            return nullptr;
        // A folder that lists its names but cannot be entered (no search permission) tells
        // nothing of its files: it is unreadable, not searched and found empty.
        struct stat st {};
        if (::fstatat(use.Fd(), ".", &st, 0) != 0)
            error = errno;
    }
    if (error != 0) {
        errno = error; // what releasing the folder may have set is not the reason
        return nullptr;
    }
    folder->handle_ = std::move(handle);
    folder->path_ = std::move(path);
    folder->hostPath_ = std::move(hostPath);
    folder->mounts_ = std::move(mounts);
    folder->mountsInside_ = folder->mounts_ && folder->mounts_->HasMountsIn(folder->hostPath_);
    return folder;
}

int PosixFolder::StatAt(int fd, const char* name, struct stat& st, int flags) {
    statCalls_.fetch_add(1, std::memory_order_relaxed);
    return ::fstatat(fd, name, &st, flags);
}

bool PosixFolder::IsMountRoot(std::string_view name) const {
    return mountsInside_ && mounts_->IsMountPoint(JoinHost(hostPath_, name));
}

std::optional<FolderIdentity> PosixFolder::Identity() const {
    DirHandle::Use use = handle_->Acquire();
    struct stat st {};
    if (!use || ::fstat(use.Fd(), &st) != 0)
        return std::nullopt;
    return FolderIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

UniqueFd PosixFolder::OpenAgain() const {
    DirHandle::Use use = handle_->Acquire();
    if (!use)
        return UniqueFd();
    return UniqueFd(::openat(use.Fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

bool PosixFolder::IsVolumeTop() const {
    return mounts_ && mounts_->IsMountPoint(hostPath_);
}

std::unique_ptr<Folder> PosixFolder::OpenSub(const std::string& name, OsError* unreadable) const {
    errno = 0;
    std::unique_ptr<Folder> folder = OpenSubFolder(name);
    if (!folder && unreadable)
        *unreadable = Unreadable(errno);
    return folder;
}

std::unique_ptr<Folder> PosixFolder::OpenSubFolder(const std::string& name) const {
    std::string actual = name;
    std::shared_ptr<DirHandle> child = DirHandle::OpenChild(handle_, actual);
    if (!child && errno == ENOENT) {
        // As on Windows, a name in another case finds the folder's own spelling; of several,
        // the same one that opening by path picks (the lowest in byte order).
        std::optional<std::string_view> best;
        for (size_t i = 0; i < listing_.Size(); ++i) {
            const std::string_view candidate = listing_.NameView(i);
            if (candidate != name && Utf8Case::Equal(name, candidate) &&
                (!best || candidate < *best))
                best = candidate;
        }
        if (best) {
            actual = *best;
            child = DirHandle::OpenChild(handle_, actual);
        }
    }
    if (!child)
        return nullptr;
    return Create(std::move(child), JoinWindows(path_, actual), JoinHost(hostPath_, actual),
                  mounts_);
}

bool PosixFolder::Describe(int fd, size_t index, bool withDosAttributes, FindEntry& entry) const {
    const char* name = listing_.Name(index);
    struct stat st {};
    if (StatAt(fd, name, st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    // FIFOs, sockets and device nodes are no files in the Windows sense: reading or moving
    // one could block or reach a device.
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode))
        return false;
    bool linkToFolder = false;
    if (S_ISLNK(st.st_mode)) {
        struct stat target {};
        linkToFolder = StatAt(fd, name, target, 0) == 0 && S_ISDIR(target.st_mode);
    }
    entry.name.assign(listing_.NameView(index));
    entry.shortName = entry.name;
    entry.attributes = DosAttributes::FromStat(st, entry.name, linkToFolder);
    if (S_ISDIR(st.st_mode) && IsMountRoot(entry.name))
        entry.attributes |= FileAttributes::ReparsePoint;
    if (withDosAttributes && !S_ISLNK(st.st_mode))
        entry.attributes |= DosAttributes::Read(fd, name);
    if (entry.attributes == 0)
        entry.attributes = FileAttributes::Normal;
    // Windows reports a link with no length of its own.
    entry.size = S_ISREG(st.st_mode) ? static_cast<int64_t>(st.st_size) : 0;
    entry.lastWriteUtc = DosAttributes::FileTime(st.st_mtim);
    return true;
}

void PosixFolder::Find(std::string_view pattern, std::vector<FindEntry>& out,
                       const std::function<bool()>& stopped) {
    const NamePattern match(pattern);
    DirHandle::Use use;
    for (size_t i = 0; i < listing_.Size(); ++i) {
        if (!match.Matches(listing_.NameView(i)))
            continue;
        // Each lookup may wait on a slow disk.
        if (stopped())
            return;
        if (!use) {
            use = handle_->Acquire();
            if (!use)
                return;
        }
        FindEntry entry;
        if (Describe(use.Fd(), i, true, entry))
            out.push_back(std::move(entry));
    }
}

void PosixFolder::Subfolders(std::vector<FindEntry>& out, bool withAttributes) {
    DirHandle::Use use;
    for (size_t i = 0; i < listing_.Size(); ++i) {
        const unsigned char type = listing_.Type(i);
        if (type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN)
            continue;
        const std::string_view name = listing_.NameView(i);
        FindEntry entry;
        if (withAttributes || type == DT_UNKNOWN) {
            if (!use && !(use = handle_->Acquire()))
                return;
            if (!Describe(use.Fd(), i, withAttributes, entry) ||
                !(entry.attributes & FileAttributes::Directory))
                continue;
            out.push_back(std::move(entry));
            continue;
        }
        entry.attributes = FileAttributes::Directory;
        if (type == DT_LNK) {
            // Only where it points matters here: a link to a folder is listed, as a link.
            if (!use && !(use = handle_->Acquire()))
                return;
            struct stat target {};
            if (StatAt(use.Fd(), listing_.Name(i), target, 0) != 0 || !S_ISDIR(target.st_mode))
                continue;
            entry.attributes |= FileAttributes::ReparsePoint;
        } else if (IsMountRoot(name)) {
            entry.attributes |= FileAttributes::ReparsePoint;
        }
        if (name[0] == '.')
            entry.attributes |= FileAttributes::Hidden;
        entry.name.assign(name);
        entry.shortName = entry.name;
        out.push_back(std::move(entry));
    }
}

void PosixFolder::FindUnspellable(std::string_view pattern, std::vector<FindEntry>& out) {
    if (listing_.UnspellableSize() == 0)
        return;
    const NamePattern match(pattern);
    DirHandle::Use use;
    for (size_t i = 0; i < listing_.UnspellableSize(); ++i) {
        FindEntry entry;
        entry.name = listing_.UnspellableName(i);
        if (!match.Matches(entry.name))
            continue;
        unsigned char type = listing_.UnspellableType(i);
        if (type == DT_UNKNOWN) {
            struct stat st {};
            if (!use && !(use = handle_->Acquire()))
                return;
            if (StatAt(use.Fd(), entry.name.c_str(), st, AT_SYMLINK_NOFOLLOW) == 0)
                type = S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
        }
        entry.attributes = type == DT_DIR ? FileAttributes::Directory : FileAttributes::Normal;
        entry.shortName = entry.name;
        out.push_back(std::move(entry));
    }
}

} // namespace brumo
