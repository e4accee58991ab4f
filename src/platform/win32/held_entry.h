#pragma once

#include "platform/os_error.h"
#include "platform/win32/held_folder.h"
#include "platform/win32/nt_file.h"

#include <string>

namespace brumo {

// The entry at the end of a path, opened as itself: for a drive path, in its folder, which stays
// held from the drive's root down while the entry is acted on.
struct HeldEntry {
    HeldFolder folder; // empty for what is no drive path
    std::string folderPath;
    std::string name;
    NtFile file;
    FileIdentity identity;

    // Takes a drive path apart; false for any other, which the system's calls by path resolve.
    bool Splits(const std::string& path) { return HeldFolder::Split(path, folderPath, name); }
    // After Splits: holds the folder and opens the entry (as HeldFolder::OpenEntry does).
    OsError Open(ACCESS_MASK access, ULONG options = FILE_NON_DIRECTORY_FILE,
                 ULONG share = HeldFolder::ShareAll);
    // Any path: a drive path as Open does, any other as the system resolves it.
    OsError Open(const std::string& path, ACCESS_MASK access);
};

} // namespace brumo
