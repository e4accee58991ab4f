#include "platform/recycle_bin_settings.h"

#include "platform/posix/drive_table.h"
#include "platform/posix/home_folder.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/trash_can.h"

#include <array>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace brumo {

namespace {

std::string Trim(const std::string& text) {
    const size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

// KDE's trash settings ($XDG_CONFIG_HOME/ktrashrc): one group per trash folder, named by its
// path; the size limit applies where UseSizeLimit is true, as Percent of the volume.
std::map<std::string, int> KdeSizeLimits(std::vector<std::string>& problems) {
    std::string file;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        file = std::string(config) + "/ktrashrc";
    else if (const std::string home = HomeFolder::Path(); !home.empty())
        file = home + "/.config/ktrashrc";
    std::map<std::string, int> limits;
    std::ifstream in(file);
    std::string line, group;
    std::map<std::string, std::pair<bool, double>> read;
    std::set<std::string> invalid;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            group = line.substr(1, line.size() - 2);
            while (group.size() > 1 && group.back() == '/')
                group.pop_back();
            continue;
        }
        const size_t equals = line.find('=');
        if (group.empty() || equals == std::string::npos)
            continue;
        const std::string key = Trim(line.substr(0, equals));
        const std::string value = Trim(line.substr(equals + 1));
        if (key == "UseSizeLimit")
            read[group].first = value == "true";
        else if (key == "Percent") {
            char* end = nullptr;
            const double percent = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !(percent >= 0)) {
                problems.push_back(file + ": the size limit \"Percent=" + value + "\" of [" +
                                   group + "] is no number of percent, and is ignored.");
                invalid.insert(group);
            } else {
                read[group].second = percent;
            }
        }
    }
    for (const std::string& bad : invalid)
        read[bad].first = false;
    for (const auto& [folder, setting] : read)
        if (setting.first) {
            // Whole percent as the settings table keeps it; a limit below one percent is not
            // "no limit".
            const double percent = setting.second;
            limits[folder] = percent <= 0 ? 0 : percent < 1 ? 1 : static_cast<int>(percent);
        }
    return limits;
}

// The desktop's trash size limits as Recycle Bin settings: independent settings, a drive
// named where the trash that takes its files has a limit.
class DesktopTrashSettings : public RecycleBinSettings {
public:
    std::optional<std::vector<uint8_t>> PurgeInfo() const override {
        std::vector<std::string> problems;
        const std::array<int, 26> percent = Limits(problems);
        {
            const std::lock_guard lock(mutex_);
            lastRead_ = percent;
            problems_ = std::move(problems);
        }
        bool any = false;
        std::vector<uint8_t> value(72, 0);
        const auto put = [&value](size_t offset, uint32_t v, int bytes) {
            for (int i = 0; i < bytes; ++i)
                value[offset + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
        };
        put(0, 72, 4);
        put(4, 0, 4); // independent settings
        for (size_t n = 0; n < percent.size(); ++n) {
            if (percent[n] >= 0)
                any = true;
            put(8 + 2 * n, static_cast<uint32_t>(percent[n] > 0 ? percent[n] : 0), 2);
        }
        put(62, 10, 2);
        if (!any)
            return std::nullopt;
        return value;
    }
    bool HasDriveSetting(char letter) const override {
        if (letter < 'A' || letter > 'Z')
            return false;
        std::optional<std::array<int, 26>> percent;
        {
            const std::lock_guard lock(mutex_);
            percent = lastRead_;
        }
        std::vector<std::string> problems;
        if (!percent)
            percent = Limits(problems);
        return (*percent)[static_cast<size_t>(letter - 'A')] >= 0;
    }

private:
    // A check reads PurgeInfo, then asks about every drive: those answers come from the limits
    // PurgeInfo read, rather than from reading the settings file and every drive again per
    // drive. The next PurgeInfo reads afresh.
    mutable std::mutex mutex_;
    mutable std::optional<std::array<int, 26>> lastRead_;
    mutable std::vector<std::string> problems_;

public:
    std::vector<std::string> Problems() const override {
        const std::lock_guard lock(mutex_);
        return problems_;
    }

private:
    // Per drive the limit in percent of the trash its files go to; -1 where there is none.
    static std::array<int, 26> Limits(std::vector<std::string>& problems) {
        std::array<int, 26> percent;
        percent.fill(-1);
        const std::map<std::string, int> limits = KdeSizeLimits(problems);
        if (limits.empty())
            return percent;
        const std::string homeTrash = TrashCan::HomePath();
        const std::string homeData = homeTrash.substr(0, homeTrash.rfind('/'));
        struct stat home {};
        const bool haveHome = !homeData.empty() && ::stat(homeData.c_str(), &home) == 0;
        const auto table = DriveTable::Current();
        const auto mounts = MountTable::Current();
        const std::string uid = std::to_string(::getuid());
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            const DriveEntry* drive = table->Find(letter);
            struct stat st {};
            if (!drive || ::stat(drive->folder.c_str(), &st) != 0)
                continue;
            std::vector<std::string> trashes;
            if (haveHome && st.st_dev == home.st_dev) {
                trashes.push_back(homeTrash);
            } else {
                std::string top = mounts ? mounts->MountPointOf(drive->folder) : "/";
                if (top == "/")
                    top.clear();
                trashes = {top + "/.Trash/" + uid, top + "/.Trash-" + uid};
            }
            for (const std::string& trash : trashes)
                if (auto it = limits.find(trash); it != limits.end()) {
                    percent[static_cast<size_t>(letter - 'A')] = it->second;
                    break;
                }
        }
        return percent;
    }
};

} // namespace

const RecycleBinSettings& RecycleBinSettings::System() {
    static const DesktopTrashSettings settings;
    return settings;
}

} // namespace brumo
