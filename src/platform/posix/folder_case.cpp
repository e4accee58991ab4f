#include "platform/posix/folder_case.h"

#include "platform/posix/dir_listing.h"
#include "platform/posix/unique_fd.h"
#include "platform/posix/utf8_case.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/vfs.h>

namespace brumo {

namespace {

constexpr long kMsdos = 0x4d44;
constexpr long kExfat = 0x2011BAB0;
constexpr long kNtfs = 0x5346544e;
constexpr long kHfsPlus = 0x482b;
constexpr long kCifs = 0xFF534D42;
constexpr long kSmb2 = 0xFE534D42;
constexpr long kSmb = 0x517B;
constexpr long kExt4 = 0xEF53;
constexpr long kF2fs = 0xF2F52010;
#ifndef FS_CASEFOLD_FL
constexpr long FS_CASEFOLD_FL = 0x40000000;
#endif

} // namespace

bool FolderCase::Folds(int folderFd) {
    struct statfs fs {};
    if (::fstatfs(folderFd, &fs) != 0)
        return false;
    switch (static_cast<long>(fs.f_type)) {
    case kMsdos:
    case kExfat:
    case kNtfs:
    case kHfsPlus:
    case kCifs:
    case kSmb2:
    case kSmb:
        return true;
    case kExt4:
    case kF2fs: {
        int flags = 0;
        if (::ioctl(folderFd, FS_IOC_GETFLAGS, &flags) == 0)
            return (flags & FS_CASEFOLD_FL) != 0;
        // A handle opened only to find the way (O_PATH) takes no ioctl.
        const UniqueFd readable(::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        return readable.Valid() && ::ioctl(readable.Get(), FS_IOC_GETFLAGS, &flags) == 0 &&
               (flags & FS_CASEFOLD_FL) != 0;
    }
    default:
        return false;
    }
}

std::optional<std::string> FolderCase::ListedSpelling(int folderFd, const std::string& name) {
    if (!Folds(folderFd))
        return name;
    const UniqueFd list(::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!list.Valid())
        return std::nullopt;
    // The name itself ends the search at once; of spellings alike but for case, the first in
    // listing order wins, as when the whole folder is listed.
    bool exact = false;
    std::optional<std::string> first;
    const bool read = DirListing::Scan(list.Get(), [&](std::string_view entry, unsigned char) {
        if (entry == name)
            return exact = true;
        if (Utf8Case::Equal(entry, name) && (!first || DirListing::Before(entry, *first)))
            first.emplace(entry);
        return false;
    });
    if (!read)
        return std::nullopt;
    return exact || !first ? name : *first;
}

} // namespace brumo
