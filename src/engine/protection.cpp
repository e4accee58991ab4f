#include "engine/protection.h"

#include "engine/name_match.h"
#include "model/junk_file_type.h"
#include "platform/locale_info.h"

namespace brumo {

namespace {

std::string Join(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append(1, '\\').append(name);
    return path;
}

} // namespace

bool Protection::IsFullName(std::string_view entry) {
    return entry.find(':') == 1;
}

bool Protection::IsProtected(const TJunkFileObj& type, std::string_view folder,
                             std::string_view longName, std::string_view shortName) {
    return IsProtectedBy(type.Protects, folder, longName, shortName);
}

bool Protection::IsProtectedBy(const std::vector<std::string>& protects, std::string_view folder,
                               std::string_view longName, std::string_view shortName) {
    const bool distinctShort = !shortName.empty() && shortName != longName;
    std::string longPath, shortPath; // built on the first full-name entry
    for (const std::string& entry : protects) {
        if (IsFullName(entry)) {
            if (longPath.empty()) {
                longPath = Join(folder, longName);
                if (distinctShort)
                    shortPath = Join(folder, shortName);
            }
            if (LocaleInfo::EqualIgnoreCase(entry, longPath) ||
                (distinctShort && LocaleInfo::EqualIgnoreCase(entry, shortPath)))
                return true;
        } else if (NameMatch::MatchSpec(longName, entry) ||
                   (distinctShort && NameMatch::MatchSpec(shortName, entry))) {
            return true;
        }
    }
    return false;
}

} // namespace brumo
