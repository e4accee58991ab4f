#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace brumo {

// Where the holding-folder method puts a file: its path below its drive's holding folder,
// "C:\TEMP\a.tmp" -> "C:\HDVal$$$.$$$\TEMP\a.tmp".
class HoldingPath {
public:
    // Empty for a path that does not begin with a drive letter and colon.
    static std::optional<std::string> Of(const std::string& path);
    // The path below a given holding folder of its drive (one of HoldingFolder::RootsFor).
    static std::optional<std::string> In(std::string root, const std::string& path);
    // Where the name's extension begins: its last dot, or its end when it has none.
    static size_t ExtensionStart(const std::string& path);
    // The first of "name (2).ext", "name (3).ext"... where no file is.
    static std::string FreeName(const std::string& path);
};

} // namespace brumo
