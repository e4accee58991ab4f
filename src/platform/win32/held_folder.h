#pragma once

#include "platform/os_error.h"
#include "platform/win32/nt_file.h"

#include <string>
#include <vector>

namespace brumo {

// A folder of a drive path, reached from the drive's root one name at a time, each opened
// relative to the folder above it, and every one of them held open until the object goes.
// A link or junction on the way is refused: Windows marks one as a reparse point, and Wine,
// which follows a host's link, shows it by the final name, which must be the folder above's
// followed by the name itself. The held folders do not share deleting, so on Windows none of
// them can be renamed away or replaced while an operation runs in the folder.
class HeldFolder {
public:
    // "X:\...\name" into its folder and name. False for what is no drive path: the system
    // resolves those by itself.
    static bool Split(const std::string& path, std::string& folder, std::string& name);
    // With create, missing folders are made on the way (never through a link).
    static OsError Open(const std::string& folder, HeldFolder& out, bool create = false);

    static constexpr ULONG ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

    // The entry itself, never a link's target: on Windows a link opens as the link; where the
    // system follows one anyway (Wine, for a host's link to a file), the final name tells, and
    // the entry is refused. options as NtCreateFile takes them: a file or a folder. Where the
    // folder tells case apart, a name spelled otherwise on disk is another file's and the
    // entry is not found.
    OsError OpenEntry(const std::string& name, ACCESS_MASK access, NtFile& out,
                      FileIdentity& identity, ULONG options = FILE_NON_DIRECTORY_FILE,
                      ULONG share = ShareAll) const;
    // A new file of that name, made here and nowhere else: where the system went through a
    // link on the way (Wine), what it made goes again. Fails where the name is taken.
    OsError CreateEntry(const std::string& name, ACCESS_MASK access, NtFile& out) const;
    // Whether this folder tells names apart by case: Windows says so per folder; Wine's folders
    // are the host's, which do.
    bool TellsCaseApart() const;
    // Whether name in this folder is still the file identity names.
    bool Names(const std::string& name, const FileIdentity& identity) const;
    // Whether the path, looked up anew by name as the calls that take a path will, still leads
    // to that file. Fails with LinkOnTheWay() when not.
    static OsError Reaches(const std::string& path, const FileIdentity& identity);

    HANDLE Handle() const { return chain_.empty() ? nullptr : chain_.back().Get(); }
    // ERROR_CANT_RESOLVE_FILENAME, the system's own answer to a name it would not follow.
    static int LinkOnTheWay();

private:
    std::vector<NtFile> chain_; // the drive's root first
    std::wstring final_;        // this folder's final name, upper case
};

} // namespace brumo
