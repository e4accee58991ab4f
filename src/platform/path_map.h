#pragma once

#include <optional>
#include <string>

namespace brumo {

// Translation between the program's Windows paths and the host's paths.
// Identity on Windows; on POSIX through the drive table (see Drives).
class PathMap {
public:
    // "C:\Temp\a.tmp" -> host path. A component missing in its exact case resolves to the
    // first entry of its parent that matches ignoring case. Empty when no drive maps it.
    static std::optional<std::string> ToHost(const std::string& windowsPath);
    // Host path -> Windows path of the drive whose folder is its longest prefix.
    static std::optional<std::string> ToWindows(const std::string& hostPath);
    // The Windows path with each component that exists spelled as its folder keeps it, found
    // as ToHost finds it (exact case first, then ignoring case); the rest, and a path no drive
    // maps, stay as given.
    static std::string AsStored(const std::string& windowsPath);
};

} // namespace brumo
