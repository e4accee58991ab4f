#pragma once

#include "platform/date_time.h"
#include "platform/file_operations.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brumo {

// A file in a drive's holding folder, known by the path it was moved from.
struct HeldFile {
    std::string originalPath; // Windows path, as the file's name is spelled in the holding folder
    std::string heldPath;
    std::string holdingFolder; // the holding folder it lies in (its drive's, or the data folder's)
    int64_t size = 0;          // 0 for a link, which is held as the link itself
    TDateTime fileDate = 0;    // last write, local time
    TDateTime heldSince = 0;   // local time of the move into the holding folder; 0: unknown
};

// What became of one held file.
struct HeldOutcome {
    bool done = false;
    std::string path;   // where a restored file went
    std::string reason; // why it failed
};

// The files in the holding folders: listed, put back where they came from, or removed for good.
// A folder of the holding folder that a restore or deletion empties goes too.
// Every path is formed from the original path below the drive's holding folder, each folder
// opened without following a link: a link planted in a holding folder is never entered, and
// nothing outside the holding folders is changed except the restored file's own place.
//
// When a file was held comes from its record (see HoldRecord), else from the change time that
// the move set; where neither tells, the time is unknown and the file is never taken for old.
class HeldFiles {
public:
    // Every drive's held files, a drive within another's folder too, from each holding folder
    // of the drive, by drive and then by path. A link found where a holding folder or a folder
    // of one should be is never followed; its path goes to `refused` when given. A partial
    // copy of a move is no held file: one whose writer has ended is removed on the way.
    static std::vector<HeldFile> List(std::vector<std::string>* refused = nullptr,
                                      const FileOperations& operations = FileOperations::System());
    static std::vector<HeldFile>
    ListDrive(char letter, std::vector<std::string>* refused = nullptr,
              const FileOperations& operations = FileOperations::System());
    // The files the patterns name (see HeldPattern), in listing order. A pattern without
    // wildcards that is some file's original path letter for letter names that file alone,
    // not its case twins.
    static std::vector<HeldFile> Select(const std::vector<HeldFile>& files,
                                        const std::vector<std::string>& patterns);

    // Moves the file back, making its missing folders. A file already at the original path is
    // kept and the restore fails, unless keepBoth, which gives the restored file the first free
    // name "name (2).ext", "name (3).ext"...; a folder there always fails it.
    static HeldOutcome Restore(const HeldFile& file, bool keepBoth);
    // The file held from the original path, looked for in each holding folder of its drive.
    static HeldOutcome Restore(const std::string& originalPath, bool keepBoth);
    // Removes the held file for good, read-only or not.
    static HeldOutcome Delete(const HeldFile& file);
    static HeldOutcome Delete(const std::string& originalPath);
    // Those held more than `days` whole days before `now`; never one held since a time unknown.
    static std::vector<HeldFile> HeldLongerThan(const std::vector<HeldFile>& files, int days,
                                                TDateTime now);
    // Whether the original path matches a wildcard pattern, ignoring case: "*" also spans
    // backslashes.
    static bool Matches(const HeldFile& file, const std::string& pattern);
};

} // namespace brumo
