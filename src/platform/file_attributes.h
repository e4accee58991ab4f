#pragma once

#include <cstdint>

namespace brumo {

// Win32 file attribute bits; the POSIX backend produces the same values.
struct FileAttributes {
    static constexpr uint32_t ReadOnly = 0x1;
    static constexpr uint32_t Hidden = 0x2;
    static constexpr uint32_t System = 0x4;
    static constexpr uint32_t Directory = 0x10;
    static constexpr uint32_t Archive = 0x20;
    static constexpr uint32_t Normal = 0x80;
    // Symbolic links, junctions and (on POSIX) mount points of other file systems:
    // never entered as folders.
    static constexpr uint32_t ReparsePoint = 0x400;
};

} // namespace brumo
