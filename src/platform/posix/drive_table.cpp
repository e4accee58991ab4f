#include "platform/posix/drive_table.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace brumo {

namespace {

std::mutex& TableMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<const DriveTable>& TableSlot() {
    static std::shared_ptr<const DriveTable> table;
    return table;
}

std::string Unescape(std::string_view field) {
    // mountinfo writes space, tab, newline and backslash as three octal digits.
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const auto octal = [](char c) { return c >= '0' && c <= '7'; };
            if (octal(field[i + 1]) && octal(field[i + 2]) && octal(field[i + 3])) {
                out.push_back(static_cast<char>((field[i + 1] - '0') * 64 +
                                                (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        size_t j = i;
        while (j < line.size() && line[j] != ' ')
            ++j;
        if (j > i)
            fields.push_back(line.substr(i, j - i));
        i = j;
    }
    return fields;
}

// File systems that live on a local disk even when their source is no /dev node, and those
// whose source is a /dev node but which are no fixed disk (images, optical media).
bool IsDiskFileSystem(std::string_view type, std::string_view source) {
    static const std::set<std::string_view> withoutDevNode = {"zfs"};
    static const std::set<std::string_view> notFixed = {"squashfs", "iso9660", "udf", "erofs",
                                                        "cramfs"};
    if (notFixed.count(type) || type.substr(0, 5) == "fuse.")
        return false;
    if (withoutDevNode.count(type))
        return true;
    if (source.substr(0, 5) != "/dev/")
        return false;
    for (std::string_view prefix : {"/dev/loop", "/dev/ram", "/dev/zram", "/dev/sr", "/dev/nbd"}) {
        if (source.substr(0, prefix.size()) == prefix)
            return false;
    }
    return true;
}

bool ReadFirstChar(const std::string& file, char& c) {
    std::ifstream in(file);
    return static_cast<bool>(in.get(c));
}

bool IsFixedFolder(const std::string& mountPoint, unsigned major, unsigned minor) {
    struct stat st;
    if (::stat(mountPoint.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    // A partition has no "removable" flag of its own; its disk's folder above it has.
    const std::string dev =
        "/sys/dev/block/" + std::to_string(major) + ":" + std::to_string(minor) + "/";
    char c = 0;
    if (ReadFirstChar(dev + "removable", c) || ReadFirstChar(dev + "../removable", c))
        return c != '1';
    return true;
}

std::string RealPathOf(const std::string& folder) {
    char buffer[PATH_MAX];
    if (!::realpath(folder.c_str(), buffer))
        return {};
    std::string real = DriveTable::NormaliseHostPath(buffer);
    return real == folder ? std::string() : real;
}

std::shared_ptr<const DriveTable> Load() {
    // An empty value is no table, as for any variable set to nothing.
    if (const char* value = std::getenv("BRUMO_DRIVES"); value && *value)
        return std::make_shared<const DriveTable>(DriveTable::FromVariable(value));
    std::ifstream in("/proc/self/mountinfo");
    std::stringstream text;
    text << in.rdbuf();
    return std::make_shared<const DriveTable>(
        DriveTable::FromMountInfo(text.str(), &IsFixedFolder));
}

bool IsPrefixFolder(std::string_view folder, std::string_view path, std::string& rest) {
    if (folder.empty())
        return false;
    if (folder == "/") {
        rest = path.substr(1);
        return true;
    }
    if (path.substr(0, folder.size()) != folder)
        return false;
    if (path.size() == folder.size()) {
        rest.clear();
        return true;
    }
    if (path[folder.size()] != '/')
        return false;
    rest = path.substr(folder.size() + 1);
    return true;
}

} // namespace

std::shared_ptr<const DriveTable> DriveTable::Current() {
    std::lock_guard<std::mutex> lock(TableMutex());
    auto& slot = TableSlot();
    if (!slot)
        slot = Load();
    return slot;
}

void DriveTable::Reload() {
    auto fresh = Load();
    std::lock_guard<std::mutex> lock(TableMutex());
    TableSlot() = std::move(fresh);
}

void DriveTable::Add(char letter, std::string folder) {
    DriveEntry entry;
    entry.letter = letter;
    entry.folder = std::move(folder);
    entry.realFolder = RealPathOf(entry.folder);
    entries_.push_back(std::move(entry));
}

DriveTable DriveTable::FromVariable(std::string_view value) {
    DriveTable table;
    size_t start = 0;
    while (start <= value.size()) {
        size_t end = value.find(';', start);
        if (end == std::string_view::npos)
            end = value.size();
        const std::string_view item = value.substr(start, end - start);
        start = end + 1;
        if (item.empty())
            continue; // "C=/a;" ends with a separator, not with an entry
        const std::string quoted = "\"" + std::string(item) + "\"";
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(item[0])));
        if (item.size() < 3 || item[1] != '=' || letter < 'A' || letter > 'Z') {
            table.problems_.push_back(quoted + " is no drive: write a letter, \"=\" and a folder");
            continue;
        }
        if (item[2] != '/') {
            table.problems_.push_back(quoted + " names a relative folder: the folder of a drive "
                                               "must be absolute (begin with \"/\")");
            continue;
        }
        if (table.Find(letter)) {
            table.problems_.push_back(quoted + " gives " + std::string(1, letter) +
                                      ": a second folder: each letter may be named once");
            continue;
        }
        table.Add(letter, NormaliseHostPath(item.substr(2)));
    }
    std::sort(table.entries_.begin(), table.entries_.end(),
              [](const DriveEntry& a, const DriveEntry& b) { return a.letter < b.letter; });
    return table;
}

DriveTable DriveTable::FromMountInfo(std::string_view mountinfo, const FixedProbe& isFixedFolder) {
    struct Mount {
        unsigned major = 0, minor = 0;
        std::string root, point;
    };
    std::vector<Mount> mounts;
    size_t start = 0;
    while (start < mountinfo.size()) {
        size_t end = mountinfo.find('\n', start);
        if (end == std::string_view::npos)
            end = mountinfo.size();
        const auto fields = SplitFields(mountinfo.substr(start, end - start));
        start = end + 1;
        // id parent major:minor root mount-point options [optional...] - type source options
        const auto dash = std::find(fields.begin(), fields.end(), std::string_view("-"));
        if (fields.size() < 6 || dash == fields.end() || dash - fields.begin() < 6 ||
            fields.end() - dash < 3)
            continue;
        Mount m;
        if (std::sscanf(std::string(fields[2]).c_str(), "%u:%u", &m.major, &m.minor) != 2)
            continue;
        m.root = Unescape(fields[3]);
        m.point = NormaliseHostPath(Unescape(fields[4]));
        if (m.point == "/") {
            mounts.insert(mounts.begin(), m); // the root device is never a second drive
            continue;
        }
        if (!IsDiskFileSystem(dash[1], Unescape(dash[2])))
            continue;
        mounts.push_back(std::move(m));
    }

    DriveTable table;
    table.Add('C', "/");
    std::set<std::pair<unsigned, unsigned>> seen;
    if (!mounts.empty() && mounts.front().point == "/")
        seen.insert({mounts.front().major, mounts.front().minor});
    char next = 'D';
    for (size_t i = 0; i < mounts.size() && next <= 'Z'; ++i) {
        const Mount& m = mounts[i];
        if (m.point == "/" || seen.count({m.major, m.minor}))
            continue;
        // Prefer the mount of the file system's own root over a bind mount of a part of it.
        const Mount* chosen = &m;
        if (m.root != "/") {
            for (size_t k = i + 1; k < mounts.size(); ++k) {
                if (mounts[k].major == m.major && mounts[k].minor == m.minor &&
                    mounts[k].root == "/") {
                    chosen = &mounts[k];
                    break;
                }
            }
        }
        if (!isFixedFolder(chosen->point, chosen->major, chosen->minor))
            continue;
        seen.insert({m.major, m.minor});
        table.Add(next++, chosen->point);
    }
    return table;
}

const DriveEntry* DriveTable::Find(char letter) const {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const auto& entry : entries_) {
        if (entry.letter == upper)
            return &entry;
    }
    return nullptr;
}

const DriveEntry* DriveTable::ForHostPath(std::string_view hostPath, std::string& rest) const {
    const std::string path = NormaliseHostPath(hostPath);
    if (path.empty() || path[0] != '/')
        return nullptr;
    const DriveEntry* best = nullptr;
    size_t bestLength = 0;
    std::string candidate;
    for (const auto& entry : entries_) {
        for (const std::string* folder : {&entry.folder, &entry.realFolder}) {
            if (IsPrefixFolder(*folder, path, candidate) &&
                (!best || folder->size() > bestLength)) {
                best = &entry;
                bestLength = folder->size();
                rest = candidate;
            }
        }
    }
    return best;
}

std::string DriveTable::NormaliseHostPath(std::string_view path) {
    const bool absolute = !path.empty() && path[0] == '/';
    std::vector<std::string_view> parts;
    size_t i = 0;
    while (i < path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string_view::npos)
            j = path.size();
        const std::string_view part = path.substr(i, j - i);
        i = j + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == ".." && absolute) {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out = absolute ? "/" : "";
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k > 0)
            out += '/';
        out += parts[k];
    }
    return out;
}

} // namespace brumo
