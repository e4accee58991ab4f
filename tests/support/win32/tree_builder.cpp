#include "support/tree_builder.h"

#include "platform/win32/windows_api.h"
#include "support/win32/host_links.h"

#include <fstream>
#include <stdexcept>
#include <string>

namespace brumo::test {

namespace fs = std::filesystem;

void TreeBuilder::MakeDir(const fs::path& path) {
    fs::create_directories(path);
}

void TreeBuilder::MakeFile(const fs::path& path, int64_t size) {
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out)
            throw std::runtime_error("cannot create " + path.string());
    }
    fs::resize_file(path, static_cast<uintmax_t>(size));
}

void TreeBuilder::SetWriteTime(const fs::path& path, int year, int month, int day, int hour,
                               int minute, int second) {
    SYSTEMTIME local{};
    local.wYear = static_cast<WORD>(year);
    local.wMonth = static_cast<WORD>(month);
    local.wDay = static_cast<WORD>(day);
    local.wHour = static_cast<WORD>(hour);
    local.wMinute = static_cast<WORD>(minute);
    local.wSecond = static_cast<WORD>(second);
    SYSTEMTIME utc;
    FILETIME ft;
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !SystemTimeToFileTime(&utc, &ft))
        throw std::runtime_error("bad time for " + path.string());
    HANDLE h = CreateFileW(
        path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    const bool ok = h != INVALID_HANDLE_VALUE && SetFileTime(h, nullptr, nullptr, &ft);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    if (!ok)
        throw std::runtime_error("cannot set the time of " + path.string());
}

bool TreeBuilder::SetDosAttributes(const fs::path& path, uint32_t attributes) {
    const DWORD keep = GetFileAttributesW(path.c_str());
    if (keep == INVALID_FILE_ATTRIBUTES)
        return false;
    // Hidden and system as asked; read-only stays as it was (MakeReadOnly sets it).
    DWORD a =
        (keep & FILE_ATTRIBUTE_READONLY) |
        (attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
    if (a == 0)
        a = FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesW(path.c_str(), a) != 0;
}

namespace {
// A link by the system's own call (Windows needs developer mode or a privilege for it), else,
// under Wine, by the host. Whether it was made is seen in the tree, as Wine's call reports
// success without making one.
bool TryLink(const fs::path& link, const fs::path& target, bool folder) {
    const DWORD flags =
        (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    if (CreateSymbolicLinkW(link.c_str(), target.c_str(), flags) &&
        GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    return HostLinks::Make(link, target);
}
} // namespace

bool TreeBuilder::LinksSupported() {
    static const bool supported = [] {
        const fs::path base = fs::temp_directory_path();
        const fs::path link = base / ("brumo-link-probe-" + std::to_string(GetCurrentProcessId()));
        const bool made = TryLink(link, base, true) && IsLink(link);
        if (HostLinks::Available())
            HostLinks::Remove(link); // Wine would remove the target
        else
            RemoveDirectoryW(link.c_str());
        return made;
    }();
    return supported;
}

void TreeBuilder::MakeLink(const fs::path& link, const fs::path& target) {
    if (link.has_parent_path())
        fs::create_directories(link.parent_path());
    std::error_code ec;
    const fs::path resolved = target.is_absolute() ? target : link.parent_path() / target;
    if (!TryLink(link, target.is_absolute() ? target : resolved, fs::is_directory(resolved, ec)))
        throw std::runtime_error("cannot make the link " + link.string());
}

bool TreeBuilder::IsLink(const fs::path& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT)) ||
           HostLinks::IsLink(path);
}

void TreeBuilder::MakeReadOnly(const fs::path& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES ||
        !SetFileAttributesW(path.c_str(), a | FILE_ATTRIBUTE_READONLY))
        throw std::runtime_error("cannot make read-only " + path.string());
}

} // namespace brumo::test
