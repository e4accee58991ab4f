#include "platform/drives.h"

#include "platform/posix/drive_table.h"
#include "platform/posix/windows_path.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace brumo {

namespace {

// The table entry of a drive root ("C:", "C:\", any case); null for anything else.
const DriveEntry* RootEntry(const DriveTable& table, const std::string& root) {
    const auto parsed = WindowsPath::Parse(root);
    if (!parsed || !parsed->parts.empty())
        return nullptr;
    return table.Find(parsed->drive);
}

} // namespace

uint32_t Drives::LogicalDriveMask() {
    uint32_t mask = 0;
    for (const auto& entry : DriveTable::Current()->Entries())
        mask |= 1u << (entry.letter - 'A');
    return mask;
}

DriveType Drives::TypeOf(const std::string& root) {
    return RootEntry(*DriveTable::Current(), root) ? DriveType::Fixed : DriveType::NoRootDir;
}

std::optional<uint32_t> Drives::VolumeSerial(const std::string& root) {
    const auto table = DriveTable::Current();
    const DriveEntry* entry = RootEntry(*table, root);
    struct stat st;
    if (!entry || ::stat(entry->folder.c_str(), &st) != 0)
        return std::nullopt;
    // Device and inode of the drive's folder, mixed down to 32 bits: two letters on one folder
    // share a serial, two folders almost never do.
    uint64_t x =
        static_cast<uint64_t>(st.st_dev) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(st.st_ino);
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 31;
    return static_cast<uint32_t>(x ^ (x >> 32));
}

std::optional<int64_t> Drives::TotalBytes(const std::string& root) {
    const auto table = DriveTable::Current();
    const DriveEntry* entry = RootEntry(*table, root);
    struct statvfs vfs;
    if (!entry || ::statvfs(entry->folder.c_str(), &vfs) != 0)
        return std::nullopt;
    return static_cast<int64_t>(vfs.f_blocks) * static_cast<int64_t>(vfs.f_frsize);
}

void Drives::Reload() {
    DriveTable::Reload();
}

} // namespace brumo
