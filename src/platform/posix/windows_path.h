#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brumo {

// A Windows path taken apart: its drive letter and the names below the drive's root.
struct WindowsPath {
    char drive = 0; // upper case
    std::vector<std::string> parts;

    // "C:", "C:\", "c:\a\b" and "C:/a/b" (both separators, as Windows takes them). "." and ".."
    // are resolved as Windows resolves them, never above the root, so no path leaves its drive.
    // Empty for anything that does not begin with a drive letter and a colon.
    static std::optional<WindowsPath> Parse(std::string_view path);
    // "X:\a\b", or "X:\" for the root.
    std::string ToString() const;
};

} // namespace brumo
