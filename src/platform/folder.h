#pragma once

#include "platform/find_entry.h"
#include "platform/os_error.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brumo {

// A folder as its volume knows it (device and inode on POSIX), whatever path reached it.
struct FolderIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const FolderIdentity&) const = default;
};

// An open folder, read once. Every search of its files and the listing of its subfolders
// are served from that one read. Opening never follows a link, in any component.
class Folder {
public:
    virtual ~Folder() = default;

    // Opens a folder given by its Windows path (no trailing backslash; a drive root is "C:").
    // Returns null when it does not exist or cannot be read; for a folder that exists but
    // cannot be read, `unreadable` (when given) gets why. A link is never opened, and is no
    // unreadable folder.
    static std::unique_ptr<Folder> Open(const std::string& path, OsError* unreadable = nullptr);
    // True where Path() and the names below it are spelled as they are on disk, whatever the
    // spelling Open was given (POSIX): one file then has one path, and names that differ only
    // in case may be different files. False on Windows, where a path keeps the caller's case.
    static bool SpellsAsOnDisk();
    // Whether the folder holds a subfolder that is no link, junction or mount point and whose
    // name `accept` takes. Reads no further than the first such one; false when it cannot be
    // read.
    static bool HasSubfolder(const std::string& path,
                             const std::function<bool(std::string_view name)>& accept);
    // The identity of the folder at `path`, links followed, without reading its entries; empty
    // where the platform cannot tell or there is no folder.
    static std::optional<FolderIdentity> IdentityOf(const std::string& path);
    // The identities of the folder at `path` and of every folder above it on its way to the
    // top of the file system tree, nearest first, links followed: what lies below a folder is
    // known whatever spelling, drive letter or link reached it. Empty where the platform
    // cannot tell or there is no folder.
    static std::vector<FolderIdentity> LineageOf(const std::string& path);
    // Opens a subfolder of this one by name, relative to this folder's own handle.
    virtual std::unique_ptr<Folder> OpenSub(const std::string& name,
                                            OsError* unreadable = nullptr) const = 0;

    virtual const std::string& Path() const = 0;
    // Empty where the platform cannot tell; there the path alone names the folder.
    virtual std::optional<FolderIdentity> Identity() const = 0;
    // Whether the folder is the top of a mounted file system (a drive's root on Windows).
    virtual bool IsVolumeTop() const = 0;
    // Entries (files and folders) whose long or short name matches the pattern as the
    // Windows directory search matches it: case-insensitive "*" and "?", "*.*" also matching
    // names without a dot, a pattern ending in "." matching names without an extension.
    // "." and ".." are never reported, nor FIFOs, sockets or device nodes. Asks `stopped`
    // before each entry it looks up, and ends there, keeping what it found, once it says yes:
    // a stop ends even a search of a huge folder at once.
    virtual void Find(std::string_view pattern, std::vector<FindEntry>& out,
                      const std::function<bool()>& stopped) = 0;
    void Find(std::string_view pattern, std::vector<FindEntry>& out) {
        Find(pattern, out, [] { return false; });
    }
    // Every subfolder entry (directory attribute set), "." and ".." left out. Links and
    // mount points carry the reparse-point attribute. Hidden and system attributes are
    // filled only when asked for, since they may cost a call per entry.
    virtual void Subfolders(std::vector<FindEntry>& out, bool withAttributes) = 0;
    // The entries that Find and Subfolders leave out since no Windows path can spell their
    // names (on POSIX a backslash in a name, which a path reads as a separator), those whose
    // name matches the pattern as Find matches: each with its name and, for a folder that is
    // no link, the directory attribute. Nothing on Windows, where every name can be spelled.
    virtual void FindUnspellable(std::string_view /*pattern*/, std::vector<FindEntry>& /*out*/) {}
};

} // namespace brumo
