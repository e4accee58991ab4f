#include "platform/win32/registry_recycle_bin_settings.h"

#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

namespace brumo {

namespace {
constexpr size_t kPurgeInfoSize = 72;

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

RegistryRecycleBinSettings::RegistryRecycleBinSettings(Hive hive, std::string keyPath)
    : hive_(hive), keyPath_(std::move(keyPath)) {}

std::optional<std::vector<uint8_t>> RegistryRecycleBinSettings::PurgeInfo() const {
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
