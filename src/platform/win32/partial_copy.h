#pragma once

#include "platform/find_entry.h"
#include "platform/os_error.h"
#include "platform/win32/held_folder.h"
#include "platform/win32/nt_file.h"

#include <string>
#include <vector>

namespace brumo {

// A move across volumes into a holding folder first copies the file into a folder at the holding
// folder's top named as the holding folder itself, under the name ".<name>.<process>-<n>.tmp"; the
// copy takes its final name only once it is whole. A run never holds a file under that form
// there (HoldingFolder::IsPartialCopy), so a file of that form there is a copy, and one whose
// writer has ended is swept.
class PartialCopy {
public:
    // The copies folder for a move to `to` when `to` lies in a drive's holding folder; else empty.
    static std::string FolderFor(const std::string& to);
    // Whether a file of a holding folder, by the original path it stands for, is a copy.
    static bool IsCopy(const std::string& originalPath);
    // Copies the source, open for reading, whole into a new file of `copies`, flushed and with the
    // source's times; `copy` is left open for the file's name to be changed or the file removed.
    static OsError Write(const NtFile& source, const HeldFolder& copies,
                         const std::string& finalName, NtFile& copy);
    // Removes the copies whose writer has ended from a folder of a holding folder whose files
    // stand for those of `original`, when that is a copies folder.
    static void Sweep(const std::string& folder, const std::string& original,
                      const std::vector<FindEntry>& entries);
};

} // namespace brumo
