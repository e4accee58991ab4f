#pragma once

#include "platform/file_operations.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brumo {

// When a file went into a holding folder, kept in a small record of its own: the change time
// that a move sets is never kept by FAT and exFAT, where it reads as 1601. The records mirror
// the held files below the holding folder's own "HDVal$$$.$$$", a place no original path maps
// to, since no search enters a holding folder. Each is reached as the held files are, never
// through a link.
class HoldRecord {
public:
    // Whether an entry at the top of a holding folder is the records' folder.
    static bool IsRecordFolder(std::string_view name);
    // Records that the file at heldPath, below the holding folder root, is held from now on.
    // A record that cannot be written leaves the change time to tell.
    static void Write(const std::string& root, const std::string& heldPath);
    // Removes the file's record and the record folders that held only it.
    static void Remove(const std::string& root, const std::string& heldPath);
    // When the file was held, as a FILETIME (UTC): from its record, else from its change
    // time. Empty where neither tells: a time before 1980 is no time a file was held.
    static std::optional<int64_t> HeldSince(const FileOperations& files, const std::string& root,
                                            const std::string& heldPath);

private:
    static std::optional<std::string> PathOf(const std::string& root, const std::string& heldPath);
};

} // namespace brumo
