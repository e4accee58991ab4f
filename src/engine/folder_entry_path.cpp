#include "engine/folder_entry_path.h"

#include "engine/local_drives.h"
#include "engine/walk_limits.h"
#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "platform/path_map.h"

#include <cctype>

namespace brumo {

namespace {

bool HasDriveLetter(const std::string& text) {
    return text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) &&
           text[1] == ':' && (text.size() == 2 || text[2] == '\\' || text[2] == '/');
}

// As Windows resolves a full path: both separators, empty and "." components dropped, ".."
// taking back one component but never the drive.
std::string ResolveDots(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 3;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string part = text.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out = text.substr(0, 2);
    for (const std::string& part : parts)
        out.append(1, '\\').append(part);
    return out;
}

} // namespace

std::optional<std::string> FolderEntryPath::Resolve(const std::string& text) {
    if (HasDriveLetter(text))
        return ResolveDots(text);
    if (!text.empty() && text[0] == '/') {
        // Windows takes such a path as it is; elsewhere it is a host folder, found by its drive.
        std::optional<std::string> mapped = PathMap::ToWindows(text);
        if (!mapped)
            return std::nullopt;
        return HasDriveLetter(*mapped) ? ResolveDots(*mapped) : *mapped;
    }
    std::string same = text;
    if (!same.empty() && same.back() == '\\')
        same.pop_back();
    return same;
}

std::vector<std::string> FolderEntryPath::Unsearched(const TJunkFileObj& type) {
    std::vector<std::string> lines;
    if (type.Folders.size() == 1 && LocalDrives::IsAllDrivesEntry(type.Folders[0].path))
        return lines;
    const WalkLimits limits({});
    for (const FolderEntry& entry : type.Folders) {
        const std::optional<std::string> path = Resolve(entry.path);
        if (!path) {
            lines.push_back("\"" + entry.path + "\" is not searched: it lies in no drive");
            continue;
        }
        constexpr uint32_t linkToFolder = FileAttributes::Directory | FileAttributes::ReparsePoint;
        const std::optional<uint32_t> attributes = FileSystem::Attributes(*path);
        if (attributes && (*attributes & linkToFolder) == linkToFolder && !Folder::Open(*path))
            lines.push_back("\"" + entry.path + "\" is not searched: it is a link to a folder");
        else if (const std::optional<std::string> system = limits.SystemFolderAbove(*path))
            lines.push_back("\"" + entry.path + "\" is not searched: it lies in " + *system +
                            ", one of the operating system's own folders");
    }
    return lines;
}

} // namespace brumo
