#include "runs/drive_recycle_stats.h"

#include "platform/drives.h"
#include "runs/size_text.h"

#include <cstdio>

namespace brumo {

void DriveRecycleStats::ClearPending() {
    for (DriveRecycleStat& drive : drives_)
        drive.PendingBytes = 0;
}

void DriveRecycleStats::AddPending(const std::string& path, int64_t bytes) {
    if (path.empty())
        return;
    char letter = path[0];
    if (letter >= 'a' && letter <= 'z')
        letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z')
        return;
    drives_[letter - 'A'].PendingBytes += bytes;
}

bool DriveRecycleStats::StatisticsLines(std::vector<std::string>& lines) const {
    bool anyError = false;
    char line[256];
    for (int i = 0; i < DriveCount; ++i) {
        const DriveRecycleStat& drive = drives_[i];
        const char letter[2] = {static_cast<char>('a' + i), '\0'};
        if (drive.HasSetting && !drive.IsFixed)
            continue;
        if (!drive.HasSetting) {
            // No limit of its own: what the volume holds is what the trash can take.
            if (drive.PendingBytes <= 0)
                continue;
            const auto text = [](int64_t bytes) { return bytes < 0 ? "??" : SizeText::Of(bytes); };
            const bool fits = drive.FreeBytes < 0 || drive.PendingBytes <= drive.FreeBytes;
            std::snprintf(line, sizeof line, "%s:\\ %12s, Size: %12s, Free: %12s%s", letter,
                          SizeText::Of(drive.PendingBytes).c_str(),
                          text(drive.DriveSize > 0 ? drive.DriveSize : -1).c_str(),
                          text(drive.FreeBytes).c_str(), fits ? "" : " *ERROR*");
            anyError = anyError || !fits;
            lines.emplace_back(line);
            continue;
        }
        const std::string pending = SizeText::Of(drive.PendingBytes);
        const std::string maximum = SizeText::Of(drive.MaxBytes);
        const int percent = drive.Percent;
        if (drive.PendingBytes <= drive.MaxBytes) {
            std::snprintf(line, sizeof line, "%s:\\ %12s, Size: %12s (%.02d%%)", letter,
                          pending.c_str(), maximum.c_str(), percent);
        } else if (drive.DriveSize <= 0) {
            // A size not read yet, or one that could not be read: the need is unknown.
            std::snprintf(line, sizeof line, "%s:\\ %12s, Size: %12s (%.02d%%) *ERROR* (??%%)",
                          letter, pending.c_str(), maximum.c_str(), percent);
            anyError = true;
        } else {
            const int64_t needed = drive.PendingBytes * 100 / drive.DriveSize + 1;
            std::snprintf(line, sizeof line, "%s:\\ %12s, Size: %12s (%.02d%%) *ERROR* (%.02lld%%)",
                          letter, pending.c_str(), maximum.c_str(), percent,
                          static_cast<long long>(needed));
            anyError = true;
        }
        lines.emplace_back(line);
    }
    return anyError;
}

void DriveRecycleStats::ReadVolumeFigures() {
    for (int i = 0; i < DriveCount; ++i) {
        DriveRecycleStat& drive = drives_[i];
        if (drive.PendingBytes <= 0 || drive.HasSetting)
            continue;
        const std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
        if (drive.DriveSize == 0)
            drive.DriveSize = Drives::TotalBytes(root).value_or(-1);
        drive.FreeBytes = Drives::FreeBytes(root).value_or(-1);
    }
}

} // namespace brumo
