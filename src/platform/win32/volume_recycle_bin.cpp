#include "platform/win32/volume_recycle_bin.h"

#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

#include <shellapi.h>

#include <cctype>

namespace brumo {

namespace {
std::optional<DWORD> ReadNumber(HKEY key, const wchar_t* name) {
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

// Windows hands the shell a path as it is, which drops a final dot or space of a name: the
// shell would act on another file than the one checked.
bool HasNameEndingInDotOrSpace(const std::string& path) {
    for (size_t end = path.find('\\', 3);; end = path.find('\\', end + 1)) {
        const size_t last = (end == std::string::npos ? path.size() : end) - 1;
        if (path[last] == '.' || path[last] == ' ')
            return true;
        if (end == std::string::npos)
            return false;
    }
}
} // namespace

std::optional<VolumeRecycleSetting> VolumeRecycleBin::Setting(char letter,
                                                              const std::string& volumeKey) {
    const wchar_t root[4] = {static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(letter))),
                             L':', L'\\', 0};
    wchar_t volume[64];
    if (!GetVolumeNameForVolumeMountPointW(root, volume, 64))
        return std::nullopt;
    // "\\?\Volume{GUID}\" names its key by the braced GUID.
    std::wstring guid(volume);
    const size_t open = guid.find(L'{'), close = guid.find(L'}');
    if (open == std::wstring::npos || close == std::wstring::npos)
        return std::nullopt;
    const std::wstring path =
        WinText::Wide(volumeKey) + L"\\" + guid.substr(open, close - open + 1);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    VolumeRecycleSetting setting;
    setting.nukeOnDelete = ReadNumber(key, L"NukeOnDelete").value_or(0) != 0;
    if (const auto megabytes = ReadNumber(key, L"MaxCapacity"))
        setting.maxBytes = static_cast<int64_t>(*megabytes) << 20;
    RegCloseKey(key);
    return setting;
}

int VolumeRecycleBin::Refusal(const std::string& path, int64_t size) {
    if (path.size() < 4 || path[1] != ':' || path[2] != '\\' ||
        !std::isalpha(static_cast<unsigned char>(path[0])))
        return NoRecycleBin; // a share: no Recycle Bin there
    if (HasNameEndingInDotOrSpace(path))
        return NameEndsInDotOrSpace;
    if (path.size() >= MAX_PATH)
        return PathTooLong;
    const std::wstring root = WinText::Wide(path.substr(0, 3));
    // Removable, network and optical drives have none; neither has a drive whose Recycle Bin
    // the system cannot open.
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    if (GetDriveTypeW(root.c_str()) != DRIVE_FIXED ||
        FAILED(SHQueryRecycleBinW(root.c_str(), &info)))
        return NoRecycleBin;
    if (const auto setting = Setting(path[0])) {
        if (setting->nukeOnDelete)
            return DeletesAtOnce;
        if (setting->maxBytes && size > *setting->maxBytes)
            return TooLarge;
    }
    return 0;
}

const char* VolumeRecycleBin::Text(int code) {
    switch (code) {
    case NoRecycleBin:
        return "The drive has no Recycle Bin that could take the file; it was left where it is";
    case DeletesAtOnce:
        return "The Recycle Bin of this drive is set to delete files immediately; the file was "
               "left where it is";
    case TooLarge:
        return "The file is larger than the Recycle Bin of its drive may hold; it was left where "
               "it is";
    case NameEndsInDotOrSpace:
        return "A name in the path ends in a dot or a space, which the Recycle Bin would drop "
               "and so act on another file; the file was left where it is";
    case PathTooLong:
        return "The path is longer than the 259 characters the Recycle Bin takes; the file was "
               "left where it is";
    case NotTaken:
        return "The Recycle Bin did not take the file, which the system deleted; it was put "
               "back where it was";
    case NotTakenKeptAside:
        return "The Recycle Bin did not take the file, which the system deleted; another file "
               "took its name meanwhile, so it was kept beside it under a name starting with "
               "~brumo-kept";
    case GoneNotInBin:
        return "The file is gone, but the Recycle Bin shows no new item: the system may have "
               "deleted it for good";
    default:
        return nullptr;
    }
}

} // namespace brumo
