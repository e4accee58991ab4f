#pragma once

#include <optional>
#include <string>

namespace brumo {

// Where the holding-folder method puts a file: its path below its drive's holding folder,
// "C:\TEMP\a.tmp" -> "C:\HDVal$$$.$$$\TEMP\a.tmp".
class HoldingPath {
public:
    // Empty for a path that does not begin with a drive letter and colon.
    static std::optional<std::string> Of(const std::string& path);
};

} // namespace brumo
