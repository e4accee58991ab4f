#pragma once

#include <cstdint>

namespace brumo {

// The counters of one clean-up run. Touched by the worker between a type's start and its end,
// by the main thread otherwise.
struct RunCounters {
    int32_t CurrentMethod = 0;     // method of the type being processed
    int32_t TypeFileCount = 0;     // files processed for the current type
    int32_t FilesProcessed = 0;    // removed, or found in a test run
    int32_t FilesRestorable = 0;   // processed and not deleted permanently
    int32_t FilesFailed = 0;       // could not be removed
    int64_t TotalBytes = 0;        // size of the processed files
    int32_t FoldersUnreadable = 0; // there, but could not be listed
    int32_t NamesSkipped = 0;      // that a Windows path cannot spell
};

} // namespace brumo
