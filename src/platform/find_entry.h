#pragma once

#include <cstdint>
#include <string>

namespace brumo {

// One entry of a directory search, as the Windows directory search reports it.
struct FindEntry {
    std::string name;      // long name
    std::string shortName; // 8.3 name; equal to name where the platform has none
    uint32_t attributes = 0;
    int64_t size = 0;         // length in bytes; 0 for a link, as Windows reports one
    int64_t lastWriteUtc = 0; // FILETIME: 100-ns intervals since 1601-01-01 UTC
};

} // namespace brumo
