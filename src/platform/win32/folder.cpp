#include "platform/folder.h"

#include "platform/file_attributes.h"
#include "platform/win32/final_path.h"
#include "platform/win32/name_pattern.h"
#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

namespace brumo {

namespace {
FindEntry EntryOf(const WIN32_FIND_DATAW& data) {
    FindEntry e;
    e.name = WinText::Utf8(data.cFileName);
    e.shortName = data.cAlternateFileName[0] ? WinText::Utf8(data.cAlternateFileName) : e.name;
    e.attributes = data.dwFileAttributes;
    e.size =
        static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    e.lastWriteUtc =
        static_cast<int64_t>((static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                             data.ftLastWriteTime.dwLowDateTime);
    return e;
}

bool IsDots(const wchar_t* name) {
    return (name[0] == L'.' && name[1] == 0) ||
           (name[0] == L'.' && name[1] == L'.' && name[2] == 0);
}

// A folder that exists and is no link or junction.
bool IsPlainFolder(const std::string& path) {
    const std::string probe = path.size() == 2 && path[1] == ':' ? path + "\\" : path;
    const DWORD a = GetFileAttributesW(WinText::FilePath(probe).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) &&
           !(a & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::unique_ptr<Folder> Readable(std::string path, OsError* unreadable);

class Win32Folder : public Folder {
public:
    explicit Win32Folder(std::string path) : path_(std::move(path)) {}

    std::unique_ptr<Folder> OpenSub(const std::string& name, OsError* unreadable) const override {
        if (name.empty() || name == "." || name == ".." ||
            name.find_first_of("\\/:*?") != std::string::npos)
            return nullptr;
        std::string path = path_ + "\\" + name;
        if (!IsPlainFolder(path))
            return nullptr;
        return Readable(std::move(path), unreadable);
    }

    const std::string& Path() const override { return path_; }
    // A volume has one spelling per folder but for its letter; the path is enough here.
    std::optional<FolderIdentity> Identity() const override { return std::nullopt; }
    bool IsVolumeTop() const override { return path_.size() == 2; }

    using Folder::Find;
    void Find(std::string_view pattern, std::vector<FindEntry>& out,
              const std::function<bool()>& stopped) override {
        // A pattern is a name within this folder, never a way into another one.
        if (pattern.empty() || pattern.find_first_of("\\/:") != std::string_view::npos)
            return;
        const std::wstring wpattern = WinText::Wide(pattern);
        Search(std::string(pattern), FindExInfoStandard, [&](const WIN32_FIND_DATAW& data) {
            if (stopped())
                return false;
            // The system search also takes liberties ("?" matching nothing before a dot, short
            // names of other shapes); keep what matches as the program means it.
            const bool matches = NamePattern::Matches(data.cFileName, wpattern) ||
                                 (data.cAlternateFileName[0] &&
                                  NamePattern::Matches(data.cAlternateFileName, wpattern));
            if (matches)
                out.push_back(EntryOf(data));
            return true;
        });
    }

    void Subfolders(std::vector<FindEntry>& out, bool /*withAttributes*/) override {
        Search("*.*", FindExInfoBasic, [&](const WIN32_FIND_DATAW& data) {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                out.push_back(EntryOf(data));
            return true;
        });
    }

private:
    // `each` returns false to end the search.
    template <typename Fn>
    void Search(const std::string& pattern, FINDEX_INFO_LEVELS level, Fn&& each) const {
        const std::wstring query = WinText::FilePath(path_ + "\\" + pattern);
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileExW(query.c_str(), level, &data, FindExSearchNameMatch, nullptr,
                                    FIND_FIRST_EX_LARGE_FETCH);
        if (h == INVALID_HANDLE_VALUE)
            return;
        do {
            if (!IsDots(data.cFileName) && !each(data))
                break;
        } while (FindNextFileW(h, &data));
        FindClose(h);
    }

    std::string path_;
};

// The folder, when a search of it can start; otherwise null, with the reason where the
// folder is there but refuses to be listed.
std::unique_ptr<Folder> Readable(std::string path, OsError* unreadable) {
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileExW(WinText::FilePath(path + "\\*").c_str(), FindExInfoBasic, &data,
                                FindExSearchNameMatch, nullptr, 0);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES) {
            if (unreadable && error != ERROR_PATH_NOT_FOUND)
                *unreadable = OsError{static_cast<int>(error)};
            return nullptr;
        }
    } else {
        FindClose(h);
    }
    return std::make_unique<Win32Folder>(std::move(path));
}
} // namespace

bool Folder::SpellsAsOnDisk() {
    return false;
}

std::unique_ptr<Folder> Folder::Open(const std::string& path, OsError* unreadable) {
    std::string p = path;
    while (p.size() > 2 && p.back() == '\\')
        p.pop_back();
    if (p.size() < 2 || p[1] != ':' || (p.size() > 2 && p[2] != '\\'))
        return nullptr;
    // No component of the way may be a link or junction.
    for (size_t pos = p.find('\\', 3); pos != std::string::npos; pos = p.find('\\', pos + 1))
        if (!IsPlainFolder(p.substr(0, pos)))
            return nullptr;
    if (!IsPlainFolder(p))
        return nullptr;
    return Readable(std::move(p), unreadable);
}

std::optional<FolderIdentity> Folder::IdentityOf(const std::string& path) {
    const std::string probe = path.size() == 2 && path[1] == ':' ? path + "\\" : path;
    HANDLE h = CreateFileW(WinText::FilePath(probe).c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known =
        GetFileInformationByHandle(h, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(h);
    if (!known)
        return std::nullopt;
    return FolderIdentity{info.dwVolumeSerialNumber,
                          (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::vector<FolderIdentity> Folder::LineageOf(const std::string& path) {
    // The link-free long spelling, then each folder up to its drive's root.
    std::string folder = FinalPath::Resolve(path);
    std::vector<FolderIdentity> lineage;
    while (folder.size() >= 2 && folder[1] == ':') {
        const std::optional<FolderIdentity> id = IdentityOf(folder);
        if (!id)
            break;
        lineage.push_back(*id);
        const size_t separator = folder.find_last_of('\\');
        if (folder.size() <= 3 || separator == std::string::npos)
            break;
        folder.resize(separator < 3 ? 3 : separator);
    }
    return lineage;
}

bool Folder::HasSubfolder(const std::string& path,
                          const std::function<bool(std::string_view)>& accept) {
    const auto folder = Open(path);
    if (!folder)
        return false;
    // One entry at a time: the search ends at the first subfolder.
    const std::wstring query = WinText::FilePath(folder->Path() + "\\*.*");
    WIN32_FIND_DATAW data;
    HANDLE h =
        FindFirstFileExW(query.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    do {
        found = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                !IsDots(data.cFileName) && accept(WinText::Utf8(data.cFileName));
    } while (!found && FindNextFileW(h, &data));
    FindClose(h);
    return found;
}

} // namespace brumo
