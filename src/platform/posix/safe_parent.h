#pragma once

#include "platform/os_error.h"
#include "platform/posix/unique_fd.h"

#include <optional>
#include <string>
#include <string_view>

namespace brumo {

// Opens a folder, or the parent folder of a path, so that an operation can act relative to it
// (unlinkat, renameat, fstatat...). For a Windows path the drive's folder is opened as the
// drive table names it, and every component below it with O_NOFOLLOW | O_DIRECTORY: a link
// anywhere in the chain fails (ELOOP or ENOTDIR), so a folder swapped for a link can never
// redirect an operation. A component missing in its exact case resolves to an entry of its
// parent that matches ignoring case, as Windows would find it (see Spelling).
//
// A path that begins with "/" is a host path (the program's own files): its folders are taken
// as the system resolves them, except below the data folder, where (as below a drive) a link
// anywhere in the chain fails.
class SafeParent {
public:
    enum class Spelling {
        // A name typed by a user: the case fallback everywhere.
        AnyCase,
        // A name the program found on disk or makes itself: the case fallback only where the
        // folder's file system folds case. Elsewhere a name missing in its exact case is
        // missing, so that an entry that vanished never lets its case twin stand in for it.
        AsOnDisk,
    };

    // Opens the parent folder of path. Name() is the final component as it exists (the case
    // fallback applied), or as given when nothing matches. A drive root has no parent (EINVAL).
    // With createFolders, missing folders of the parent chain are made (never through a link).
    static OsError Open(const std::string& path, SafeParent& out, bool createFolders = false,
                        Spelling spelling = Spelling::AnyCase);
    // Opens the folder path itself, readable (O_RDONLY | O_DIRECTORY).
    static OsError OpenFolder(const std::string& path, UniqueFd& out, bool createFolders = false,
                              Spelling spelling = Spelling::AnyCase);

    // The real name of an entry of an open folder: name itself when it exists in that case,
    // else the lowest (in byte order) entry that matches it ignoring case. Empty when none.
    static std::optional<std::string> ResolveName(int folderFd, const std::string& name);

    // The parent folder. Readable where the user may list it; otherwise a handle (O_PATH) that
    // serves every *at call but cannot be listed.
    int Fd() const { return fd_.Get(); }
    const std::string& Name() const { return name_; }
    // The host path of the entry, for calls that take a path and for messages.
    const std::string& HostPath() const { return hostPath_; }

private:
    UniqueFd fd_;
    std::string name_;
    std::string hostPath_;
};

} // namespace brumo
