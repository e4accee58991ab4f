#pragma once

#include <cstdint>

namespace brumo {

// What one search found. The processed count is matched less restricted less protected.
struct SearchCounts {
    int32_t foldersSearched = 0;
    int32_t filesMatched = 0;
    int32_t filesRestricted = 0;
    int32_t filesProtected = 0;
    int64_t bytesMatched = 0;
    int32_t foldersUnreadable = 0; // there, but could not be listed
    // Files that would have been matched, and folders that would have been searched, had a
    // Windows path been able to spell their names.
    int32_t namesSkipped = 0;
};

} // namespace brumo
