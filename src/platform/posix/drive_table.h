#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace brumo {

struct DriveEntry {
    char letter = 0;    // 'A'..'Z'
    std::string folder; // host folder, normalised ("/" or without a trailing slash)
    // The folder with its links resolved, where that differs (matched by host paths too).
    std::string realFolder;
};

// The letters of this machine's drives and the host folders they stand for.
// BRUMO_DRIVES="C=/a;D=/b", when set, is the whole table; otherwise C: is "/" and each further
// local disk file system gets the next letter at its mount point.
class DriveTable {
public:
    // The table in force. A caller keeps its snapshot for as long as it holds it, so a reload
    // on another thread never changes a table in use.
    static std::shared_ptr<const DriveTable> Current();
    static void Reload();

    // The BRUMO_DRIVES form; malformed entries, relative folders and a letter's later entries
    // are left out, each with the reason in Problems().
    static DriveTable FromVariable(std::string_view value);
    // "/" as C:, then, in mount order, the first mount of each further local disk file system
    // in /proc/self/mountinfo text. isFixedFolder says whether a mount point is a folder on a
    // disk that is not removable (major and minor device numbers given).
    using FixedProbe =
        std::function<bool(const std::string& mountPoint, unsigned major, unsigned minor)>;
    static DriveTable FromMountInfo(std::string_view mountinfo, const FixedProbe& isFixedFolder);

    const std::vector<DriveEntry>& Entries() const { return entries_; }
    // What was wrong with the entries of BRUMO_DRIVES, one sentence each.
    const std::vector<std::string>& Problems() const { return problems_; }
    // Any case; null when no drive has the letter.
    const DriveEntry* Find(char letter) const;
    // The drive whose folder is the longest prefix of an absolute host path (ties go to the
    // lower letter); rest receives the remainder below that folder, without a leading slash.
    const DriveEntry* ForHostPath(std::string_view hostPath, std::string& rest) const;

    // Collapses repeated slashes and "." components, resolves ".." lexically (never above
    // "/"), and drops a trailing slash.
    static std::string NormaliseHostPath(std::string_view path);

private:
    void Add(char letter, std::string folder);
    std::vector<DriveEntry> entries_;
    std::vector<std::string> problems_;
};

} // namespace brumo
