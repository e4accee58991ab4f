#pragma once

#include "model/junk_file_type.h"

#include <optional>
#include <string>
#include <vector>

namespace brumo {

// The one spelling under which a folder entry is searched, so that exclusions, protections
// and log lines all see the same path however the user wrote it.
class FolderEntryPath {
public:
    // The entry without a trailing backslash and with "." and ".." resolved ("C:\a\..\b" is
    // "C:\b"); a host path ("/tmp/x") becomes the path of the drive that holds it. Empty when
    // the entry is a host path that lies in no drive: such an entry is not searched.
    static std::optional<std::string> Resolve(const std::string& text);

    // Why some folder entries of the type will not be searched, one line each (an entry that
    // lies in no drive, one that is a link to a folder, one inside the system's own folders);
    // nothing for the all-drives list.
    static std::vector<std::string> Unsearched(const TJunkFileObj& type);
};

} // namespace brumo
