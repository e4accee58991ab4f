#pragma once

#include <cstdint>
#include <string_view>
#include <sys/stat.h>

namespace brumo {

// Windows attributes and times of a host entry, per the drive table's rules: directory and
// link from the entry type, hidden from a leading period, hidden, system and archive from the
// user.DOSATTRIB extended attribute that Wine and Samba write, read-only from the owner's
// write permission. An entry with none of them is Normal, as FileSystem reports it too.
class DosAttributes {
public:
    // Attributes from the entry's own status (not following a link). linkToFolder marks a
    // link whose target is a folder.
    static uint32_t FromStat(const struct stat& st, std::string_view name, bool linkToFolder);
    // The hidden, system and archive bits that user.DOSATTRIB of the entry holds; 0 when it
    // has none.
    static uint32_t Read(int folderFd, const char* name);
    // The hidden, system and archive bits of an attribute value ("0x22", or Samba's binary form,
    // which begins with the same text).
    static uint32_t Parse(std::string_view value);
    // A POSIX time as FILETIME (100-ns intervals since 1601-01-01 UTC).
    static int64_t FileTime(const struct timespec& time);
};

} // namespace brumo
