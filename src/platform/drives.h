#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace brumo {

enum class DriveType : uint32_t {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6
};

// The drives of this machine. On POSIX a drive table maps letters to host folders:
// BRUMO_DRIVES="C=/a;D=/b" when set, else C: = "/" and further local disk mounts.
class Drives {
public:
    // Bit 0 = A:.
    static uint32_t LogicalDriveMask();
    // root: "C:\" (any case).
    static DriveType TypeOf(const std::string& root);
    static std::optional<uint32_t> VolumeSerial(const std::string& root);
    static std::optional<int64_t> TotalBytes(const std::string& root);
    // Reads the drive table again (BRUMO_DRIVES may have changed; tests use this).
    static void Reload();
};

} // namespace brumo
