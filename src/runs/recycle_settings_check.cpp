#include "runs/recycle_settings_check.h"

#include "platform/drives.h"

#include <algorithm>

namespace brumo {

namespace {

uint32_t Read32(const RecycleSettingsCheck::PurgeInfo& value, size_t offset) {
    return static_cast<uint32_t>(value[offset]) | static_cast<uint32_t>(value[offset + 1]) << 8 |
           static_cast<uint32_t>(value[offset + 2]) << 16 |
           static_cast<uint32_t>(value[offset + 3]) << 24;
}

uint16_t Read16(const RecycleSettingsCheck::PurgeInfo& value, size_t offset) {
    return static_cast<uint16_t>(value[offset] | value[offset + 1] << 8);
}

void Write32(RecycleSettingsCheck::PurgeInfo& value, size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        value[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

constexpr size_t kOneSettingOffset = 4;
constexpr size_t kDrivePercentOffset = 8;
constexpr size_t kGlobalPercentOffset = 62;
constexpr size_t kDeleteBitsOffset = 64;
constexpr uint32_t kGlobalDeleteBit = 1u << 27;

std::string DriveRoot(int index) {
    return std::string(1, static_cast<char>('A' + index)) + ":\\";
}

// "drive c:\" or "drives c:\, d:\ and e:\".
std::string DrivePhrase(const std::string& letters) {
    if (letters.size() == 1)
        return std::string("drive ") + letters[0] + ":\\";
    std::string phrase = "drives ";
    for (size_t i = 0; i < letters.size(); ++i) {
        phrase += letters[i];
        if (i + 2 < letters.size())
            phrase += ":\\, ";
        else if (i + 2 == letters.size())
            phrase += ":\\ and ";
        else
            phrase += ":\\";
    }
    return phrase;
}

} // namespace

RecycleSettingsCheck::PurgeInfo RecycleSettingsCheck::DefaultPurgeInfo() {
    PurgeInfo value{};
    Write32(value, 0, PurgeInfoSize);
    Write32(value, kOneSettingOffset, 1);
    for (size_t offset = kDrivePercentOffset; offset < kDeleteBitsOffset; offset += 2) {
        value[offset] = 10;
        value[offset + 1] = 0;
    }
    return value;
}

bool RecycleSettingsCheck::CheckRecycleSettings() {
    PurgeInfo value = DefaultPurgeInfo();
    if (const auto bytes = source_->PurgeInfo())
        std::copy_n(bytes->begin(), std::min(bytes->size(), PurgeInfoSize), value.begin());

    if (verdict_ == NotEvaluated || value != lastSeen_) {
        lastSeen_ = value;
        for (int i = 0; i < DriveRecycleStats::DriveCount; ++i) {
            if (source_->HasDriveSetting(static_cast<char>('A' + i)))
                stats_[i].HasSetting = true;
            if (Drives::TypeOf(DriveRoot(i)) == DriveType::Fixed)
                stats_[i].IsFixed = true;
        }

        ComputeRecycleLimits(value);
        error_.clear();
        verdict_ = NoError;
        if (oneSetting_) {
            if (!globalEnabled_ || globalPercent_ == 0) {
                verdict_ = AllDrivesError;
                error_ = "RECYCLE BIN SETTINGS ERROR:\r\n\r\nThe Recycle Bin is configured to use "
                         "one setting for all drives. It is either disabled, or it is set to use "
                         "zero percent of each drive.\r\n\r\n%s\r\n\r\nPlease see the help for "
                         "instructions on correcting this problem";
            }
        } else {
            std::string letters;
            for (int i = 0; i < DriveRecycleStats::DriveCount; ++i) {
                const DriveRecycleStat& drive = stats_[i];
                if (drive.HasSetting && drive.IsFixed &&
                    (!drive.RecycleEnabled || drive.Percent == 0)) {
                    verdict_ = SomeDrivesError;
                    letters += static_cast<char>('a' + i);
                }
            }
            if (verdict_ == SomeDrivesError) {
                error_ = "RECYCLE BIN SETTINGS ERROR:\r\n\r\nThe Recycle Bin is configured to use "
                         "independent settings for different drives. On " +
                         DrivePhrase(letters) +
                         ", the Recycle Bin is either disabled, or it is set to use zero percent "
                         "of the drive.\r\n\r\n%s\r\n\r\nPlease see the help for instructions on "
                         "correcting this problem";
            }
        }
    }
    return verdict_ > NoError;
}

void RecycleSettingsCheck::ComputeRecycleLimits(const PurgeInfo& value) {
    oneSetting_ = Read32(value, kOneSettingOffset) == 1;
    const uint32_t deleteBits = Read32(value, kDeleteBitsOffset);
    globalEnabled_ = (deleteBits & kGlobalDeleteBit) == 0;
    globalPercent_ = Read16(value, kGlobalPercentOffset);

    if (!oneSetting_) {
        for (int i = 0; i < DriveRecycleStats::DriveCount; ++i) {
            stats_[i].RecycleEnabled = (deleteBits & (1u << i)) == 0;
            stats_[i].Percent = Read16(value, kDrivePercentOffset + 2 * i);
        }
    } else if (globalEnabled_) {
        for (int i = 0; i < DriveRecycleStats::DriveCount; ++i) {
            stats_[i].RecycleEnabled = true;
            stats_[i].Percent = globalPercent_;
        }
    }

    for (int i = 0; i < DriveRecycleStats::DriveCount; ++i) {
        DriveRecycleStat& drive = stats_[i];
        if (!drive.RecycleEnabled || !drive.HasSetting)
            continue;
        if (drive.DriveSize == 0)
            drive.DriveSize = Drives::TotalBytes(DriveRoot(i)).value_or(-1);
        if (drive.DriveSize > 0)
            drive.MaxBytes = drive.DriveSize * drive.Percent / 100;
    }
}

} // namespace brumo
