#pragma once

#include <optional>
#include <string>

namespace brumo {

// Whether a folder's file system folds case: vfat, exFAT, NTFS, HFS+ and SMB shares do, and so
// does an ext4 or f2fs folder with the casefold attribute. Everywhere else two names that
// differ only in case are two files.
class FolderCase {
public:
    // One fstatfs, and one ioctl where the file system has casefold folders.
    static bool Folds(int folderFd);
    // The name of an entry as the folder's listing spells it: where the file system folds
    // case, the system finds an entry by any spelling and tells none. Elsewhere the name
    // itself. Empty when the listing cannot be read.
    static std::optional<std::string> ListedSpelling(int folderFd, const std::string& name);
};

} // namespace brumo
