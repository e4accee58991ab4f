#include "platform/file_system.h"

#include "platform/file_attributes.h"
#include "platform/posix/dos_attributes.h"
#include "platform/posix/entry_handle.h"
#include "platform/posix/file_copier.h"
#include "platform/posix/file_kind.h"
#include "platform/posix/folder_case.h"
#include "platform/posix/safe_parent.h"
#include "platform/posix/unique_fd.h"
#include "platform/posix/windows_path.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brumo {

namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

// A drive root ("C:", "C:\") or "/" names no entry of a parent folder.
bool IsRoot(const std::string& path) {
    if (path == "/")
        return true;
    const auto parsed = WindowsPath::Parse(path);
    return parsed && parsed->parts.empty();
}

// The entry a path names, seen from its parent, never through a link.
struct Entry {
    SafeParent parent;
    struct stat st {};
};

// A file found on disk or named by the program is acted on as AsOnDisk: never through its case
// twin, should it vanish between the walk and the action.
constexpr auto kAsOnDisk = SafeParent::Spelling::AsOnDisk;

OsError StatEntry(const std::string& path, Entry& out,
                  SafeParent::Spelling spelling = SafeParent::Spelling::AnyCase) {
    if (OsError e = SafeParent::Open(path, out.parent, false, spelling))
        return e;
    if (::fstatat(out.parent.Fd(), out.parent.Name().c_str(), &out.st, AT_SYMLINK_NOFOLLOW) != 0)
        return OsError{errno};
    return {};
}

bool IsReadOnly(const struct stat& st) {
    return !S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
}

OsError OpenForReading(const std::string& path, UniqueFd& fd, struct stat& st) {
    SafeParent parent;
    if (OsError e = SafeParent::Open(path, parent))
        return e;
    // Without a writer a FIFO would block the open; the caller sees what it got by fstat.
    fd.Reset(::openat(parent.Fd(), parent.Name().c_str(),
                      O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!fd.Valid())
        return OsError{errno};
    if (::fstat(fd.Get(), &st) != 0)
        return OsError{errno};
    if (S_ISDIR(st.st_mode))
        return OsError{EISDIR};
    return {};
}

// A move between file systems: a whole, flushed copy under a temporary name in the target
// folder, renamed into place, and only then the source removed. If the source cannot be
// removed, the copy goes again, so that the file is never left in both places.
OsError MoveAcross(const SafeParent& from, const struct stat& st, const SafeParent& to) {
    if (S_ISLNK(st.st_mode)) {
        std::string target(static_cast<size_t>(st.st_size) + 1, '\0');
        const ssize_t n =
            ::readlinkat(from.Fd(), from.Name().c_str(), target.data(), target.size());
        if (n < 0)
            return OsError{errno};
        target.resize(static_cast<size_t>(n));
        if (::symlinkat(target.c_str(), to.Fd(), to.Name().c_str()) != 0)
            return OsError{errno};
    } else if (S_ISREG(st.st_mode)) {
        UniqueFd source(
            ::openat(from.Fd(), from.Name().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (!source.Valid())
            return OsError{errno};
        struct stat opened;
        if (::fstat(source.Get(), &opened) != 0)
            return OsError{errno};
        if (opened.st_dev != st.st_dev || opened.st_ino != st.st_ino)
            return OsError{ENOENT}; // the name now stands for another file
        // A copy that an earlier, crashed move left here goes first (never a file of the
        // plain form, which may be the user's).
        FileCopier::RemoveStale(to.Fd(), to.Name(), false);
        std::string temp;
        if (OsError e = FileCopier::CopyToTemp(source.Get(), opened, to.Fd(), to.Name(), temp))
            return e;
        if (OsError e = FileCopier::Commit(to.Fd(), temp, to.Name(), false))
            return e;
    } else {
        return OsError{EXDEV}; // folders and special files do not move between file systems
    }
    if (::unlinkat(from.Fd(), from.Name().c_str(), 0) != 0) {
        const int error = errno;
        ::unlinkat(to.Fd(), to.Name().c_str(), 0);
        return OsError{error};
    }
    FileCopier::SyncFolder(from.Fd());
    return {};
}

} // namespace

bool FileSystem::FileExists(const std::string& path) {
    Entry entry;
    return !IsRoot(path) && !StatEntry(path, entry) && !S_ISDIR(entry.st.st_mode);
}

namespace {

// The entry, when every component below the drive was found as written and not through the
// case fallback. (Host paths are never resolved by case.)
bool StatAsNamed(const std::string& path, Entry& entry) {
    if (IsRoot(path) || StatEntry(path, entry) || S_ISDIR(entry.st.st_mode))
        return false;
    if (const auto parsed = WindowsPath::Parse(path)) {
        std::string_view host = entry.parent.HostPath();
        for (auto part = parsed->parts.rbegin(); part != parsed->parts.rend(); ++part) {
            const size_t slash = host.rfind('/');
            if (slash == std::string_view::npos || host.substr(slash + 1) != *part)
                return false;
            host = host.substr(0, slash);
        }
    }
    return true;
}

} // namespace

bool FileSystem::FileExistsAsNamed(const std::string& path) {
    Entry entry;
    return !IsRoot(path) && !StatEntry(path, entry, kAsOnDisk) && !S_ISDIR(entry.st.st_mode);
}

bool FileSystem::FileExistsAsSpelled(const std::string& path) {
    Entry entry;
    return StatAsNamed(path, entry) &&
           FolderCase::ListedSpelling(entry.parent.Fd(), entry.parent.Name()) ==
               entry.parent.Name();
}

bool FileSystem::FolderExists(const std::string& path) {
    if (IsRoot(path)) {
        UniqueFd folder;
        return !SafeParent::OpenFolder(path, folder);
    }
    Entry entry;
    return !StatEntry(path, entry) && S_ISDIR(entry.st.st_mode);
}

std::optional<uint32_t> FileSystem::Attributes(const std::string& path) {
    if (IsRoot(path))
        return FolderExists(path) ? std::optional<uint32_t>(FileAttributes::Directory)
                                  : std::nullopt;
    SafeParent parent;
    EntryHandle entry;
    if (SafeParent::Open(path, parent) || EntryHandle::Open(parent.Fd(), parent.Name(), entry))
        return std::nullopt;
    const struct stat& st = entry.Stat();
    uint32_t attributes = 0;
    if (entry.IsLink()) {
        attributes |= FileAttributes::ReparsePoint;
        struct stat target;
        if (::fstatat(parent.Fd(), parent.Name().c_str(), &target, 0) == 0 &&
            S_ISDIR(target.st_mode))
            attributes |= FileAttributes::Directory;
    } else if (entry.IsFolder()) {
        attributes |= FileAttributes::Directory;
        // The root of another file system is never entered, like a junction.
        struct stat above;
        if (::fstat(parent.Fd(), &above) == 0 && above.st_dev != st.st_dev)
            attributes |= FileAttributes::ReparsePoint;
    }
    if (IsReadOnly(st))
        attributes |= FileAttributes::ReadOnly;
    if (!parent.Name().empty() && parent.Name()[0] == '.')
        attributes |= FileAttributes::Hidden;
    if (const auto dos = entry.DosAttributes())
        attributes |=
            *dos & (FileAttributes::Hidden | FileAttributes::System | FileAttributes::Archive);
    return attributes == 0 ? FileAttributes::Normal : attributes;
}

OsError FileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    SafeParent parent;
    EntryHandle entry;
    if (OsError e = SafeParent::Open(path, parent))
        return e;
    if (OsError e = EntryHandle::Open(parent.Fd(), parent.Name(), entry))
        return e;
    if (entry.IsLink())
        return {};
    const mode_t mode = entry.Stat().st_mode & 07777;
    const mode_t wanted =
        attributes & FileAttributes::ReadOnly ? mode & ~kWriteBits : mode | S_IWUSR;
    const uint32_t dosBits =
        attributes & (FileAttributes::Hidden | FileAttributes::System | FileAttributes::Archive);
    const bool keepHiddenOrSystem = dosBits & (FileAttributes::Hidden | FileAttributes::System);
    const auto current = entry.DosAttributes();
    std::optional<std::optional<uint32_t>> dosChange;
    if (keepHiddenOrSystem && current != dosBits)
        dosChange = dosBits;
    else if (!keepHiddenOrSystem && current)
        dosChange = dosBits ? std::optional<uint32_t>(dosBits) : std::nullopt;
    // Extended attributes can only be changed while the owner may write: a read-only entry
    // gets the write permission for that moment.
    mode_t now = mode;
    if (dosChange) {
        if ((now & S_IWUSR) == 0) {
            if (OsError e = entry.ChangeMode(now | S_IWUSR))
                return e;
            now |= S_IWUSR;
        }
        if (OsError e = entry.SetDosAttributes(*dosChange)) {
            entry.ChangeMode(mode);
            return e;
        }
    }
    if (wanted != now) {
        if (OsError e = entry.ChangeMode(wanted))
            return e;
    }
    return {};
}

OsError FileSystem::DeleteFile(const std::string& path) {
    if (IsRoot(path))
        return OsError{EINVAL};
    Entry entry;
    if (OsError e = StatEntry(path, entry, kAsOnDisk))
        return e;
    if (S_ISDIR(entry.st.st_mode))
        return OsError{EISDIR};
    // The read-only attribute protects a file even from an administrator, as on Windows.
    if (IsReadOnly(entry.st))
        return OsError{EACCES};
    if (::unlinkat(entry.parent.Fd(), entry.parent.Name().c_str(), 0) != 0)
        return OsError{errno};
    return {};
}

OsError FileSystem::MoveFile(const std::string& from, const std::string& to) {
    if (IsRoot(from) || IsRoot(to))
        return OsError{EINVAL};
    Entry source;
    if (OsError e = StatEntry(from, source, kAsOnDisk))
        return e;
    if (OsError e = FileKind::OnlyFileOrLink(source.st))
        return e;
    SafeParent target;
    if (OsError e = SafeParent::Open(to, target, false, kAsOnDisk))
        return e;
    std::string targetName = target.Name();
    struct stat existing;
    if (::fstatat(target.Fd(), targetName.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 &&
        existing.st_dev == source.st.st_dev && existing.st_ino == source.st.st_ino) {
        // The target found ignoring case is the source itself: a change of case only.
        const auto parsed = WindowsPath::Parse(to);
        targetName = parsed && !parsed->parts.empty() ? parsed->parts.back() : targetName;
        if (targetName == source.parent.Name())
            return {};
    }
    const int code = FileCopier::RenameNoReplace(source.parent.Fd(), source.parent.Name(),
                                                 target.Fd(), targetName);
    if (code == EXDEV)
        return MoveAcross(source.parent, source.st, target);
    return OsError{code};
}

OsError FileSystem::CreateFolders(const std::string& path) {
    UniqueFd folder;
    return SafeParent::OpenFolder(path, folder, true, kAsOnDisk);
}

OsError FileSystem::RemoveEmptyFolder(const std::string& path) {
    if (IsRoot(path))
        return OsError{EINVAL};
    Entry entry;
    if (OsError e = StatEntry(path, entry))
        return e;
    if (!S_ISDIR(entry.st.st_mode))
        return OsError{ENOTDIR};
    if (::unlinkat(entry.parent.Fd(), entry.parent.Name().c_str(), AT_REMOVEDIR) != 0)
        return OsError{errno};
    return {};
}

OsError FileSystem::CopyFile(const std::string& from, const std::string& to) {
    UniqueFd source;
    struct stat st;
    if (OsError e = OpenForReading(from, source, st))
        return e;
    SafeParent target;
    if (OsError e = SafeParent::Open(to, target))
        return e;
    struct stat existing;
    if (::fstatat(target.Fd(), target.Name().c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(existing.st_mode))
            return OsError{EISDIR};
        if (IsReadOnly(existing))
            return OsError{EACCES};
    }
    std::string temp;
    if (OsError e = FileCopier::CopyToTemp(source.Get(), st, target.Fd(), target.Name(), temp))
        return e;
    return FileCopier::Commit(target.Fd(), temp, target.Name(), true);
}

std::optional<int64_t> FileSystem::FileSize(const std::string& path) {
    Entry entry;
    if (IsRoot(path) || StatEntry(path, entry))
        return std::nullopt;
    return S_ISREG(entry.st.st_mode) ? static_cast<int64_t>(entry.st.st_size) : 0;
}

std::optional<int64_t> FileSystem::ChangeTime(const std::string& path) {
    Entry entry;
    if (IsRoot(path) || StatEntry(path, entry))
        return std::nullopt;
    return DosAttributes::FileTime(entry.st.st_ctim);
}

OsError FileSystem::ReadFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    UniqueFd fd;
    struct stat st;
    if (OsError e = OpenForReading(path, fd, st))
        return e;
    if (!S_ISREG(st.st_mode))
        return OsError{ENODEV};
    if (st.st_size > 0)
        bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            bytes.clear();
            return OsError{error};
        }
        if (n == 0)
            return {};
        bytes.append(buffer, static_cast<size_t>(n));
    }
}

OsError FileSystem::ReadFileNoLink(const std::string& path, std::string& bytes) {
    return ReadFile(path, bytes); // which follows no link here
}

OsError FileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
    if (IsRoot(path))
        return OsError{EINVAL};
    SafeParent parent;
    if (OsError e = SafeParent::Open(path, parent, false, kAsOnDisk))
        return e;
    const UniqueFd fd(::openat(parent.Fd(), parent.Name().c_str(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!fd.Valid())
        return OsError{errno};
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd.Get(), bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const OsError error{n < 0 ? errno : EIO};
            ::unlinkat(parent.Fd(), parent.Name().c_str(), 0);
            return error;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return {};
}

OsError FileSystem::WriteFileAtomic(const std::string& path, std::string_view bytes) {
    if (IsRoot(path))
        return OsError{EINVAL};
    SafeParent parent;
    if (OsError e = SafeParent::Open(path, parent))
        return e;
    mode_t mode = 0;
    struct stat existing;
    if (::fstatat(parent.Fd(), parent.Name().c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(existing.st_mode))
            return OsError{EISDIR};
        if (IsReadOnly(existing))
            return OsError{EACCES};
        if (S_ISREG(existing.st_mode))
            mode = existing.st_mode & 07777;
    }
    std::string temp;
    if (OsError e = FileCopier::WriteToTemp(bytes, mode, parent.Fd(), parent.Name(), temp))
        return e;
    const OsError committed = FileCopier::Commit(parent.Fd(), temp, parent.Name(), true);
    if (!committed)
        FileCopier::RemoveStale(parent.Fd(), parent.Name(), true);
    return committed;
}

void FileSystem::RemoveStaleTemporaryFiles(const std::string& path) {
    SafeParent parent;
    if (!IsRoot(path) && !SafeParent::Open(path, parent))
        FileCopier::RemoveStale(parent.Fd(), parent.Name(), true);
}

bool FileSystem::IsSpecialFile(const std::string& path) {
    struct stat st;
    return ::stat(LinkTarget(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
           !S_ISREG(st.st_mode);
}

std::string FileSystem::LinkTarget(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return path;
    std::string current = path;
    // As many links as the system itself follows in one lookup.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::string target(4096, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || n >= static_cast<ssize_t>(target.size()))
            return current;
        target.resize(static_cast<size_t>(n));
        if (target[0] != '/')
            target = current.substr(0, current.rfind('/') + 1) + target;
        current = std::move(target);
    }
    return current;
}

std::string FileSystem::ShortPathName(const std::string& path) {
    return path;
}

std::string FileSystem::LongPathName(const std::string& path) {
    return path;
}

} // namespace brumo
