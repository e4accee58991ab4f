#pragma once

#include <cstdint>

namespace brumo {

class TJunkFileObj;

// The size restriction, in signed 64-bit arithmetic.
struct SizeRule {
    int32_t compare = 0;
    int32_t size1 = 0;
    int32_t size2 = 0;
    int32_t units = 0;

    static SizeRule Of(const TJunkFileObj& type);
    bool Fails(int64_t size) const;
    // 1, 1024, 1048576 for "bytes", "KB", "MB"; 0 for a code outside the table.
    static int64_t UnitFactor(int32_t units);
};

} // namespace brumo
