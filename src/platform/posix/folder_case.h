#pragma once

namespace brumo {

// Whether a folder's file system folds case: vfat, exFAT, NTFS, HFS+ and SMB shares do, and so
// does an ext4 or f2fs folder with the casefold attribute. Everywhere else two names that
// differ only in case are two files.
class FolderCase {
public:
    // One fstatfs, and one ioctl where the file system has casefold folders.
    static bool Folds(int folderFd);
};

} // namespace brumo
