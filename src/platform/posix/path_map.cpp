#include "platform/path_map.h"

#include "platform/posix/drive_table.h"
#include "platform/posix/safe_parent.h"
#include "platform/posix/unique_fd.h"
#include "platform/posix/windows_path.h"

#include <fcntl.h>
#include <string_view>
#include <vector>

namespace brumo {

std::optional<std::string> PathMap::ToHost(const std::string& windowsPath) {
    if (!windowsPath.empty() && windowsPath[0] == '/')
        return windowsPath;
    const auto parsed = WindowsPath::Parse(windowsPath);
    if (!parsed)
        return std::nullopt;
    const auto table = DriveTable::Current();
    const DriveEntry* drive = table->Find(parsed->drive);
    if (!drive)
        return std::nullopt;
    std::string host = drive->folder;
    // Each component takes its real case while its parent can be read; what lies below a
    // missing folder keeps the case it was given.
    UniqueFd dir(::open(drive->folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    for (size_t i = 0; i < parsed->parts.size(); ++i) {
        std::string name = parsed->parts[i];
        if (dir.Valid()) {
            name = SafeParent::ResolveName(dir.Get(), name).value_or(name);
            if (i + 1 < parsed->parts.size())
                dir.Reset(::openat(dir.Get(), name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        }
        if (host != "/")
            host += '/';
        host += name;
    }
    return host;
}

std::string PathMap::AsStored(const std::string& windowsPath) {
    const auto parsed = WindowsPath::Parse(windowsPath);
    const auto host = ToHost(windowsPath);
    if (!parsed || !host || parsed->parts.empty())
        return windowsPath;
    // ToHost ends in one host name per component, each as its folder keeps it.
    std::vector<std::string_view> names(parsed->parts.size());
    std::string_view rest = *host;
    for (size_t i = names.size(); i-- > 0;) {
        const size_t slash = rest.rfind('/');
        if (slash == std::string_view::npos)
            return windowsPath;
        names[i] = rest.substr(slash + 1);
        rest = rest.substr(0, slash);
    }
    std::string stored{parsed->drive, ':'};
    for (std::string_view name : names)
        (stored += '\\') += name;
    if (windowsPath.ends_with('\\') || windowsPath.ends_with('/'))
        stored += '\\';
    return stored;
}

std::optional<std::string> PathMap::ToWindows(const std::string& hostPath) {
    const auto table = DriveTable::Current();
    std::string rest;
    const DriveEntry* drive = table->ForHostPath(hostPath, rest);
    if (!drive)
        return std::nullopt;
    std::string out{drive->letter, ':', '\\'};
    for (char c : rest)
        out += c == '/' ? '\\' : c;
    return out;
}

} // namespace brumo
