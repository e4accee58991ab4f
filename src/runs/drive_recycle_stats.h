#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace brumo {

// What is known about one drive's Recycle Bin.
struct DriveRecycleStat {
    bool RecycleEnabled = false; // keeps deleted files on this drive
    bool HasSetting = false;     // the settings name this drive; once set, never cleared
    bool IsFixed = false;        // a fixed drive; once set, never cleared
    int32_t Percent = 0;         // maximum Recycle Bin size, percent of the drive
    int64_t MaxBytes = 0;        // drive size x percent / 100
    int64_t PendingBytes = 0;    // what the current test run would send there
    int64_t DriveSize = 0;       // 0: not read yet; -1: could not be read
    int64_t FreeBytes = -1;      // free space, read for the statistics; -1: not known
};

// The Recycle Bin table of drives A to Z and the statistics lines of a test run.
class DriveRecycleStats {
public:
    static constexpr int DriveCount = 26;

    DriveRecycleStat& operator[](int index) { return drives_[index]; }
    const DriveRecycleStat& operator[](int index) const { return drives_[index]; }

    void ClearPending();
    // Adds to the drive whose letter begins the path; a path without a letter A-Z adds nowhere.
    void AddPending(const std::string& path, int64_t bytes);

    // One line per fixed drive the settings name, and one per drive they do not name that has
    // pending bytes (against its volume's size and free space); true when any line reports an
    // error (there: more than the free space).
    bool StatisticsLines(std::vector<std::string>& lines) const;
    // Reads size and free space of each drive with pending bytes that the settings do not
    // name, for its statistics line.
    void ReadVolumeFigures();

private:
    std::array<DriveRecycleStat, DriveCount> drives_{};
};

} // namespace brumo
