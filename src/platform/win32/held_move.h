#pragma once

#include "platform/os_error.h"
#include "platform/win32/held_folder.h"

#include <string>

namespace brumo {

// Moves an open file from one held folder into another. The file first gets its new name as a
// second link, made relative to the target folder's handle; the new name must then be that very
// file, and only then is the old name deleted through the file's own handle. Wine carries both
// steps out by path name: a folder swapped for a link in between makes the new name another
// file's (which is taken away again) or keeps the old name (and the new one goes), so no file
// outside the two folders is ever moved. Where the file system has no links, the file is renamed
// relative to the target folder's handle, which on Windows is as safe: the held folders cannot be
// renamed. Across volumes into a holding folder, the file is copied whole beside it
// (PartialCopy), renamed into place and only then removed; other moves across volumes the system
// copies, by path, while the folders stay held.
struct HeldMove {
    const HeldFolder& source;
    const std::string& fromName;
    const HeldFolder& target;
    const std::string& toName;
    // Where a copy across volumes is written before it takes its name; empty to leave the copy
    // to the system.
    std::string copies;

    OsError Move(NtFile& file, const FileIdentity& identity, const std::string& from,
                 const std::string& to) const;

private:
    OsError CopyAcross(const FileIdentity& identity) const;
};

// MoveFileEx with copying allowed and written through, for what is no drive path.
OsError MoveByPath(const std::string& from, const std::string& to);

} // namespace brumo
