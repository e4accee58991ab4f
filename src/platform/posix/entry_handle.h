#pragma once

#include "platform/os_error.h"
#include "platform/posix/unique_fd.h"

#include <cstdint>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace brumo {

// One entry of an open folder, held without opening its contents (O_PATH) and without
// following it when it is a link, so that its mode and extended attributes change on this very
// entry, whatever happens to its name meanwhile.
class EntryHandle {
public:
    static OsError Open(int folderFd, const std::string& name, EntryHandle& out);

    const struct stat& Stat() const { return stat_; }
    bool IsLink() const { return S_ISLNK(stat_.st_mode); }
    bool IsFolder() const { return S_ISDIR(stat_.st_mode); }

    // The DOS attribute bits that Wine and Samba keep in user.DOSATTRIB ("0x.." text); empty
    // when the entry has none, or holds it in a form this program does not read.
    std::optional<uint32_t> DosAttributes() const;
    // Writes the bits, or removes the attribute when given none. A file system without
    // extended attributes is no error: the bits are then simply not kept.
    OsError SetDosAttributes(std::optional<uint32_t> bits) const;
    // Links have no mode of their own to change; for them this does nothing.
    OsError ChangeMode(mode_t mode) const;

private:
    std::string ProcPath() const;
    UniqueFd fd_;
    struct stat stat_ {};
};

} // namespace brumo
