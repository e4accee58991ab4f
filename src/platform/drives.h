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
    // Bit 0 = A:. On POSIX a letter whose folder lies inside another letter's folder on the
    // same file system is no drive of its own and is left out.
    static uint32_t LogicalDriveMask();
    // root: "C:\" (any case). A drive whose folder is missing is not ready (no root).
    static DriveType TypeOf(const std::string& root);
    static std::optional<uint32_t> VolumeSerial(const std::string& root);
    static std::optional<int64_t> TotalBytes(const std::string& root);
    // Why this machine's drives cannot be known (a BRUMO_DRIVES that yields no drive);
    // empty when they can.
    static std::optional<std::string> TableError();
    // The bytes still free for the user on the drive's volume.
    static std::optional<int64_t> FreeBytes(const std::string& root);
    // Reads the drive table again (BRUMO_DRIVES may have changed; tests use this).
    static void Reload();
};

} // namespace brumo
