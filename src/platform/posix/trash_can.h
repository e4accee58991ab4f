#pragma once

#include "platform/posix/unique_fd.h"

#include <ctime>
#include <memory>
#include <string>
#include <sys/types.h>

namespace brumo {

// One trash folder of the freedesktop.org trash (its files/ and info/ folders), either the
// user's home trash or the trash of a file system's top folder.
class TrashCan {
public:
    // $XDG_DATA_HOME/Trash (by default ~/.local/share/Trash), made when missing. Null with
    // errno set when it cannot be made.
    static std::unique_ptr<TrashCan> Home();
    // Where the home trash is (whether made yet or not); empty without a home folder.
    static std::string HomePath();
    // The trash of the top folder of a file system for the user: $topdir/.Trash/$uid when
    // $topdir/.Trash is a real folder (not a link) with the sticky bit, else $topdir/.Trash-$uid.
    // Folders are made when missing (mode 0700) and never reached through a link.
    static std::unique_ptr<TrashCan> ForTopFolder(int topFd, std::string topHostPath, uid_t uid);

    // The file system the trash lies on; only files of that one can go into it.
    dev_t Device() const { return device_; }
    // Where files go and where their descriptions are kept (for tests and messages).
    const std::string& HostPath() const { return hostPath_; }

    // Moves the entry `name` of the open folder `parentFd` (a link as the link itself) into
    // the trash, hostPath being its full host path. The description is written first under a
    // name no other file has; it is removed again when the move fails. Returns 0 or errno.
    int Put(int parentFd, const std::string& name, const std::string& hostPath,
            std::time_t deletedAt) const;
    // Put for an entry of another file system: a whole, flushed copy (contents, mode, owner
    // where allowed, DOS attributes, times) goes in first, and only then the entry is removed.
    // When the copy fails the entry stays as it was and no part of the copy is left.
    int PutCopy(int parentFd, const std::string& name, const std::string& hostPath,
                std::time_t deletedAt) const;

private:
    TrashCan() = default;
    // Opens (making them when missing) files/ and info/ below an open trash folder.
    static std::unique_ptr<TrashCan> FromFolder(UniqueFd folder, std::string hostPath);
    int Store(int parentFd, const std::string& name, const std::string& hostPath,
              std::time_t deletedAt, bool copy) const;
    int MoveAs(int parentFd, const std::string& name, const std::string& target) const;
    int CopyAs(int parentFd, const std::string& name, const std::string& target) const;
    void SweepCrashedCopies() const;

    UniqueFd files_;
    UniqueFd info_;
    dev_t device_ = 0;
    std::string hostPath_;
    std::string topFolder_;      // empty for the home trash, whose paths are absolute
    mutable bool swept_ = false; // a trash lives for one batch
};

} // namespace brumo
