#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brumo {

class Folder;
struct FindEntry;

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
    // Whether a file of a holding folder, by the original path it stands for, is the copy of a
    // move across file systems, being written or left half-written when its writer ended: never
    // a held file, and no held file is given that form.
    static bool IsPartialCopy(const std::string& originalPath);
    // Removes the partial copies whose writer has ended from a folder of a holding folder whose
    // files stand for those of `original`; `entries` are what it holds.
    static void SweepPartialCopies(const Folder& folder, const std::string& original,
                                   const std::vector<FindEntry>& entries);
};

} // namespace brumo
