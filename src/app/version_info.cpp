#include "app/version_info.h"

#include <cstdio>

namespace brumo {

VersionInfo VersionInfo::OfThisBuild() {
    VersionInfo v;
    v.VersionText = BRUMO_VERSION_TEXT;
    v.LegalText = Copyright;
    v.IsBeta = BRUMO_PRERELEASE;
    return v;
}

std::string VersionInfo::KeyName(int code) {
    static const char* const keys[] = {"CompanyName",  "FileDescription", "FileVersion",
                                       "InternalName", "LegalCopyright",  "OriginalFilename",
                                       "ProductName",  "ProductVersion"};
    if (code < 0 || code > 7)
        return {};
    return keys[code];
}

std::string VersionInfo::StringTablePath(const std::vector<std::pair<uint16_t, uint16_t>>& table) {
    if (table.empty())
        return "\\StringFileInfo\\040904E4\\";
    const std::pair<uint16_t, uint16_t>* chosen = nullptr;
    for (const auto& entry : table)
        if (entry.first == 0x0409) {
            chosen = &entry;
            break;
        }
    if (!chosen)
        for (const auto& entry : table)
            if ((entry.first & 0xFF) == 0x09) {
                chosen = &entry;
                break;
            }
    if (!chosen)
        chosen = &table.front();
    char buf[40];
    std::snprintf(buf, sizeof buf, "\\StringFileInfo\\%.04x%.04x\\", chosen->first, chosen->second);
    return buf;
}

std::string VersionInfo::VersionLine(const std::string& title) const {
    if (VersionText.empty())
        return IsBeta ? title + " beta" : title;
    return title + (IsBeta ? " - beta version " : " - version ") + VersionText;
}

std::string VersionInfo::SecondLine() const {
    return LegalText.empty() ? std::string(FallbackSecondLine) : LegalText;
}

} // namespace brumo
