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

// Windows drops trailing periods and blanks from a path's last name, so such an entry names the
// file without them; the entry as typed is kept as well, since a POSIX folder can hold either.
std::string_view WithoutTrailingDots(std::string_view entry) {
    const auto end = entry.find_last_not_of(". ");
    return end == std::string_view::npos ? entry : entry.substr(0, end + 1);
}

bool EqualsPath(std::string_view entry, const std::string& path) {
    if (LocaleInfo::EqualIgnoreCase(entry, path))
        return true;
    const std::string_view trimmed = WithoutTrailingDots(entry);
    return trimmed.size() != entry.size() && LocaleInfo::EqualIgnoreCase(trimmed, path);
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
            if (EqualsPath(entry, longPath) || (distinctShort && EqualsPath(entry, shortPath)))
                return true;
        } else if (NameMatch::MatchSpec(longName, entry) ||
                   (distinctShort && NameMatch::MatchSpec(shortName, entry))) {
            return true;
        }
    }
    return false;
}

} // namespace brumo
