#pragma once

#include <cstdint>
#include <string>

namespace brumo {

// What a run's log says of one file, as a value for a front that reports each file itself: the
// file processed (found, in a test run) or not, a folder that could not be read, or a folder
// holding names that were skipped.
struct FileRecord {
    std::string type; // the junk file type's name
    int32_t method = 0;
    std::string path; // Windows path; a folder's has no closing backslash
    int64_t size = 0;
    bool folder = false;
    bool failed = false;
    std::string error;        // why it failed
    std::string heldAs;       // where it was held when another file kept its name
    int32_t namesSkipped = 0; // a folder's names skipped since a Windows path cannot spell them
};

} // namespace brumo
