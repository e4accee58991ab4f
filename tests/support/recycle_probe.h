#pragma once

#include <filesystem>
#include <string>

namespace brumo::test {

// Whether a file sent to the Recycle Bin shows there: on POSIX by its name in the home trash
// below the data folder given (XDG_DATA_HOME); on Windows the Recycle Bin holds any item at all.
bool InRecycleBin(const std::filesystem::path& dataHome, const std::string& name);

} // namespace brumo::test
