#pragma once

#include <cstdint>
#include <string>

namespace brumo {

// A folder holding names that a search skipped since a Windows path cannot spell them, and how
// many.
struct SkippedNames {
    std::string folder;
    int32_t names = 0;
};

} // namespace brumo
