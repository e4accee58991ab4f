#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brumo {

class Folder;

// Where a drive's holding folder lies: "X:\HDVal$$$.$$$", or, where that drive's root is not
// writable for the user, a per-drive folder in the user's data folder (as a Windows path).
class HoldingFolder {
public:
    static constexpr const char* Name = "HDVal$$$.$$$";
    // Where the drive's files are held from now on.
    static std::string RootFor(char driveLetter);
    // Every folder that may hold the drive's files, RootFor's first: a root that was not
    // writable once may be today, and what was held meanwhile stays where it went.
    static std::vector<std::string> RootsFor(char driveLetter);
    // The letters of every drive that may hold files, a drive within another's folder too.
    static std::string DriveLetters();
    // Whether an entry of a holding folder is the copy of a move across file systems, being
    // written or left half-written when its writer ended: never a held file.
    static bool IsPartialCopy(std::string_view name);
    // Removes the folder's partial copies whose writer has ended.
    static void SweepPartialCopies(const Folder& folder);
};

} // namespace brumo
