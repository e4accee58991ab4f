#include "platform/win32/held_entry.h"

namespace brumo {

OsError HeldEntry::Open(ACCESS_MASK access, ULONG options, ULONG share) {
    if (OsError e = HeldFolder::Open(folderPath, folder))
        return e;
    return folder.OpenEntry(name, access, file, identity, options, share);
}

OsError HeldEntry::Open(const std::string& path, ACCESS_MASK access) {
    if (Splits(path))
        return Open(access);
    if (OsError e = NtFile::OpenPath(path, access, file))
        return e;
    return file.Identity(identity);
}

} // namespace brumo
