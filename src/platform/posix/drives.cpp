#include "platform/drives.h"

#include "platform/posix/drive_table.h"
#include "platform/posix/windows_path.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cstdlib>
#include <vector>

namespace brumo {

namespace {

// The table entry of a drive root ("C:", "C:\", any case); null for anything else.
const DriveEntry* RootEntry(const DriveTable& table, const std::string& root) {
    const auto parsed = WindowsPath::Parse(root);
    if (!parsed || !parsed->parts.empty())
        return nullptr;
    return table.Find(parsed->drive);
}

// A drive whose folder is missing is not ready, as an empty drive on Windows.
bool IsReady(const DriveEntry& entry, struct stat& st) {
    return ::stat(entry.folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

const std::string& RealFolder(const DriveEntry& entry) {
    return entry.realFolder.empty() ? entry.folder : entry.realFolder;
}

bool IsInside(const std::string& inner, const std::string& outer) {
    if (outer == "/")
        return true;
    return inner.size() >= outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
           (inner.size() == outer.size() || inner[outer.size()] == '/');
}

// The figures of the volume a drive root lies on.
std::optional<struct statvfs> VolumeOf(const std::string& root) {
    const auto table = DriveTable::Current();
    const DriveEntry* entry = RootEntry(*table, root);
    struct statvfs vfs;
    if (!entry || ::statvfs(entry->folder.c_str(), &vfs) != 0)
        return std::nullopt;
    return vfs;
}

} // namespace

uint32_t Drives::LogicalDriveMask() {
    // A drive whose folder lies inside another drive's folder on the same file system is a
    // second letter for part of that volume: leaving it out keeps every folder searched once
    // when all drives are. Two letters on one folder share a serial instead, as on Windows.
    const auto table = DriveTable::Current();
    struct Ready {
        const std::string& folder;
        dev_t device;
        uint32_t bit;
    };
    std::vector<Ready> ready;
    uint32_t mask = 0;
    for (const auto& entry : table->Entries()) {
        const uint32_t bit = 1u << (entry.letter - 'A');
        mask |= bit; // a drive that is not ready keeps its letter
        struct stat st;
        if (IsReady(entry, st))
            ready.push_back({RealFolder(entry), st.st_dev, bit});
    }
    for (const Ready& inner : ready)
        for (const Ready& outer : ready)
            if (inner.device == outer.device && inner.folder != outer.folder &&
                IsInside(inner.folder, outer.folder))
                mask &= ~inner.bit;
    return mask;
}

DriveType Drives::TypeOf(const std::string& root) {
    const auto table = DriveTable::Current();
    const DriveEntry* entry = RootEntry(*table, root);
    struct stat st;
    return entry && IsReady(*entry, st) ? DriveType::Fixed : DriveType::NoRootDir;
}

std::optional<std::string> Drives::TableError() {
    const char* value = std::getenv("BRUMO_DRIVES");
    if (!value || !*value)
        return std::nullopt;
    const auto table = DriveTable::Current();
    const std::string variable = std::string("BRUMO_DRIVES=\"") + value + "\"";
    if (!table->Problems().empty())
        return variable + ": " + table->Problems().front();
    if (table->Entries().empty())
        return variable + " names no drive; write it as \"C=/some/folder;D=/other/folder\"";
    struct stat st;
    for (const DriveEntry& entry : table->Entries())
        if (IsReady(entry, st))
            return std::nullopt;
    return variable + ": no drive is ready, since none of its folders exists";
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
    const auto vfs = VolumeOf(root);
    if (!vfs)
        return std::nullopt;
    return static_cast<int64_t>(vfs->f_blocks) * static_cast<int64_t>(vfs->f_frsize);
}

std::optional<int64_t> Drives::FreeBytes(const std::string& root) {
    const auto vfs = VolumeOf(root);
    if (!vfs)
        return std::nullopt;
    return static_cast<int64_t>(vfs->f_bavail) * static_cast<int64_t>(vfs->f_frsize);
}

void Drives::Reload() {
    DriveTable::Reload();
}

} // namespace brumo
