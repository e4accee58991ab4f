#pragma once

#include "platform/os_error.h"

#include <functional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace brumo {

// Writes a file whole beside its final name and then puts it in place, so that a reader never
// sees half a file and a failure leaves the old file (if any) as it was.
class FileCopier {
public:
    // Copies an open regular file into a new temporary file of folderFd, with the source's
    // mode, owner (where allowed), extended attributes and time stamps, flushed to disk.
    static OsError CopyToTemp(int sourceFd, const struct stat& source, int folderFd,
                              const std::string& finalName, std::string& tempName);
    // Writes bytes into a new temporary file of folderFd with the given mode, flushed.
    static OsError WriteToTemp(std::string_view bytes, mode_t mode, int folderFd,
                               const std::string& finalName, std::string& tempName);
    // Renames the temporary file to its final name (replacing an existing file only when
    // asked; otherwise an existing target fails with EEXIST) and flushes the folder. The
    // temporary file is removed on failure.
    static OsError Commit(int folderFd, const std::string& tempName, const std::string& finalName,
                          bool replace);
    // renameat2 with RENAME_NOREPLACE, falling back to a check and a rename where the file
    // system does not support it.
    static int RenameNoReplace(int fromDir, const std::string& from, int toDir,
                               const std::string& to);
    // Removes the temporary files for finalName in folderFd that a process which has ended
    // left behind (a crash mid-copy or mid-save): those of the marked form, and with plainToo
    // those of the plain form as well, for a folder where no other file can bear such a name.
    static void RemoveStale(int folderFd, const std::string& finalName, bool plainToo);
    // RemoveStale for every final name at once, in one pass over the folder, sparing the
    // names `keep` accepts (files that merely look like temporary ones).
    static void RemoveAllStale(int folderFd, bool plainToo,
                               const std::function<bool(const std::string&)>& keep);
    // Flushes a folder's entries (the folder may be a handle that cannot be read).
    static OsError SyncFolder(int folderFd);
};

} // namespace brumo
