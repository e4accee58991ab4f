#include "platform/win32/registry_recycle_bin_settings.h"

#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

#include <algorithm>
#include <array>

namespace brumo {

namespace {
constexpr size_t kPurgeInfoSize = 72;
constexpr size_t kOneSettingOffset = 4;
constexpr size_t kPercentOffset = 8;
constexpr size_t kGlobalPercentOffset = 62;
constexpr size_t kDeleteBitsOffset = 64;

uint32_t Read32(const std::vector<uint8_t>& value, size_t offset) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | (offset + i < value.size() ? value[offset + i] : 0);
    return v;
}

uint16_t Read16(const std::vector<uint8_t>& value, size_t offset) {
    return static_cast<uint16_t>(Read32(value, offset) & 0xFFFF);
}

void Write32(std::vector<uint8_t>& value, size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        value[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

void Write16(std::vector<uint8_t>& value, size_t offset, uint16_t v) {
    value[offset] = static_cast<uint8_t>(v);
    value[offset + 1] = static_cast<uint8_t>(v >> 8);
}

// A size in bytes as the nearest whole percent of the drive; a size that is not nothing is no
// less than one percent, where the settings check would take 0 for a Recycle Bin switched off.
uint16_t PercentOf(int64_t bytes, char letter) {
    const wchar_t root[4] = {static_cast<wchar_t>(letter), L':', L'\\', 0};
    ULARGE_INTEGER total{};
    if (bytes <= 0)
        return 0;
    if (!GetDiskFreeSpaceExW(root, nullptr, &total, nullptr) || total.QuadPart == 0)
        return 10;
    const uint64_t percent =
        (static_cast<uint64_t>(bytes) * 100 + total.QuadPart / 2) / total.QuadPart;
    return static_cast<uint16_t>(percent < 1 ? 1 : percent > 100 ? 100 : percent);
}

class Key {
public:
    Key(RegistryRecycleBinSettings::Hive hive, const std::string& path) {
        HKEY root = hive == RegistryRecycleBinSettings::Hive::LocalMachine ? HKEY_LOCAL_MACHINE
                                                                           : HKEY_CURRENT_USER;
        if (RegOpenKeyExW(root, WinText::Wide(path).c_str(), 0, KEY_QUERY_VALUE, &key_) !=
            ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~Key() {
        if (key_)
            RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};
} // namespace

RegistryRecycleBinSettings::RegistryRecycleBinSettings(Hive hive, std::string keyPath,
                                                       std::string volumeKey)
    : hive_(hive), keyPath_(std::move(keyPath)), volumeKey_(std::move(volumeKey)) {}

std::optional<std::vector<uint8_t>> RegistryRecycleBinSettings::PurgeInfo() const {
    std::array<std::optional<VolumeRecycleSetting>, 26> volumes;
    bool any = false;
    for (int i = 0; i < 26; ++i)
        any |= static_cast<bool>(volumes[i] = VolumeRecycleBin::Setting('A' + i, volumeKey_));
    std::optional<std::vector<uint8_t>> legacy = LegacyPurgeInfo();
    if (!any)
        return legacy;

    // Independent settings: drives without a key of their own keep what the old value gave
    // them (one setting for all, or their own), by default 10 percent, kept.
    std::vector<uint8_t> value(kPurgeInfoSize, 0);
    value[0] = kPurgeInfoSize;
    for (size_t offset = kPercentOffset; offset < kDeleteBitsOffset; offset += 2)
        value[offset] = 10;
    if (legacy)
        std::copy(legacy->begin(), legacy->end(), value.begin());
    const bool oneSetting = Read32(value, kOneSettingOffset) == 1;
    uint32_t deleteBits = Read32(value, kDeleteBitsOffset);
    const uint16_t globalPercent = Read16(value, kGlobalPercentOffset);
    const bool globalDeletes = deleteBits & (1u << 27);
    Write32(value, kOneSettingOffset, 0);
    for (int i = 0; i < 26; ++i) {
        uint16_t percent = oneSetting ? globalPercent : Read16(value, kPercentOffset + 2 * i);
        bool deletes = oneSetting ? globalDeletes : (deleteBits & (1u << i)) != 0;
        if (const auto& volume = volumes[i]) {
            deletes = volume->nukeOnDelete;
            if (volume->maxBytes)
                percent = PercentOf(*volume->maxBytes, static_cast<char>('A' + i));
        }
        Write16(value, kPercentOffset + 2 * i, percent);
        deleteBits = deletes ? deleteBits | (1u << i) : deleteBits & ~(1u << i);
    }
    Write32(value, kDeleteBitsOffset, deleteBits);
    return value;
}

std::optional<std::vector<uint8_t>> RegistryRecycleBinSettings::LegacyPurgeInfo() const {
    Key key(hive_, keyPath_);
    if (!key.get())
        return std::nullopt;
    // Ask for the size first: a longer value is read whole and then cut, so that its first
    // bytes are what they are rather than whatever a short read leaves.
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), L"PurgeInfo", nullptr, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::vector<uint8_t> bytes(size);
    if (size > 0 && RegQueryValueExW(key.get(), L"PurgeInfo", nullptr, nullptr, bytes.data(),
                                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    bytes.resize(size < kPurgeInfoSize ? size : kPurgeInfoSize);
    return bytes;
}

bool RegistryRecycleBinSettings::HasDriveSetting(char letter) const {
    if (VolumeRecycleBin::Setting(letter, volumeKey_))
        return true;
    Key key(hive_, keyPath_);
    if (!key.get())
        return false;
    char upper = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
    const wchar_t name[2] = {static_cast<wchar_t>(upper), 0};
    const LONG rc = RegQueryValueExW(key.get(), name, nullptr, nullptr, nullptr, nullptr);
    return rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA;
}

const RecycleBinSettings& RecycleBinSettings::System() {
    static const RegistryRecycleBinSettings settings(RegistryRecycleBinSettings::Hive::LocalMachine,
                                                     RegistryRecycleBinSettings::BitBucketKey);
    return settings;
}

} // namespace brumo
