#include "platform/file_system.h"

#include "platform/file_attributes.h"
#include "platform/win32/parent_guard.h"
#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

namespace brumo {

namespace {
OsError LastError() {
    const DWORD code = GetLastError();
    return OsError{code ? static_cast<int>(code) : ERROR_GEN_FAILURE};
}

OsError Result(BOOL ok) {
    return ok ? OsError{} : LastError();
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (valid())
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }
    OsError Close() {
        const BOOL ok = CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return Result(ok);
    }

private:
    HANDLE h_;
};

OsError WriteAll(HANDLE h, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr))
            return LastError();
        bytes.remove_prefix(written);
    }
    return {};
}
} // namespace

bool FileSystem::FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesW(WinText::FilePath(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileSystem::FileExistsAsNamed(const std::string& path) {
    return FileExists(path);
}

bool FileSystem::FileExistsAsSpelled(const std::string& path) {
    return FileExists(path);
}

bool FileSystem::FolderExists(const std::string& path) {
    std::string p = path;
    if (p.size() == 2 && p[1] == ':')
        p += '\\'; // "C:" alone would mean the current folder of drive C
    const DWORD a = GetFileAttributesW(WinText::FilePath(p).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<uint32_t> FileSystem::Attributes(const std::string& path) {
    const DWORD a = GetFileAttributesW(WinText::FilePath(path).c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return static_cast<uint32_t>(a);
}

OsError FileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    ParentGuard parent;
    if (OsError e = ParentGuard::OpenForEntry(path, parent))
        return e;
    // The entry itself: a link keeps its target's attributes out of reach, as on POSIX.
    Handle h(
        CreateFileW(WinText::FilePath(path).c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!h.valid())
        return LastError();
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h.get(), &info))
        return LastError();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return {};
    // Zero would mean "leave as they are" to the file system; it is meant as "none".
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    return Result(SetFileInformationByHandle(h.get(), FileBasicInfo, &basic, sizeof basic));
}

OsError FileSystem::DeleteFile(const std::string& path) {
    // DeleteFile removes a link itself, never its target.
    ParentGuard parent;
    if (OsError e = ParentGuard::OpenForEntry(path, parent))
        return e;
    return Result(DeleteFileW(WinText::FilePath(path).c_str()));
}

OsError FileSystem::MoveFile(const std::string& from, const std::string& to) {
    ParentGuard source, target;
    if (OsError e = ParentGuard::OpenForEntry(from, source))
        return e;
    if (OsError e = ParentGuard::Open(to, target))
        return e;
    return Result(MoveFileExW(WinText::FilePath(from).c_str(), WinText::FilePath(to).c_str(),
                              MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH));
}

OsError FileSystem::CreateFolders(const std::string& path) {
    std::string p = path;
    while (p.size() > 3 && p.back() == '\\')
        p.pop_back();
    // Every prefix that ends before a backslash, past the drive root. Below a drive root no
    // existing folder may be a link: new folders never land in a link's target.
    const bool drivePath = p.size() >= 3 && p[1] == ':' && p[2] == '\\';
    OsError last;
    size_t start = drivePath ? 3 : 0;
    for (size_t pos = p.find('\\', start);; pos = p.find('\\', pos + 1)) {
        const std::string prefix = p.substr(0, pos);
        if (!prefix.empty() && !(drivePath && prefix.size() <= 3)) {
            const DWORD a = GetFileAttributesW(WinText::FilePath(prefix).c_str());
            if (a == INVALID_FILE_ATTRIBUTES) {
                if (!CreateDirectoryW(WinText::FilePath(prefix).c_str(), nullptr) &&
                    GetLastError() != ERROR_ALREADY_EXISTS)
                    last = LastError();
            } else if (drivePath && (a & FILE_ATTRIBUTE_REPARSE_POINT)) {
                return OsError{ParentGuard::LinkOnTheWay()};
            }
        }
        if (pos == std::string::npos)
            break;
    }
    if (FolderExists(p))
        return {};
    return last ? last : OsError{ERROR_PATH_NOT_FOUND};
}

OsError FileSystem::CopyFile(const std::string& from, const std::string& to) {
    return Result(CopyFileW(WinText::FilePath(from).c_str(), WinText::FilePath(to).c_str(), FALSE));
}

std::optional<int64_t> FileSystem::FileSize(const std::string& path) {
    // A wildcard would turn the look-up into a search of other names.
    if (path.find_first_of("*?") != std::string::npos)
        return std::nullopt;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileExW(WinText::FilePath(path).c_str(), FindExInfoBasic, &data,
                                FindExSearchNameMatch, nullptr, 0);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    FindClose(h);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return std::nullopt;
    return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) |
                                data.nFileSizeLow);
}

OsError FileSystem::ReadFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    Handle h(CreateFileW(WinText::FilePath(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        return LastError();
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(h.get(), buffer, sizeof buffer, &got, nullptr))
            return LastError();
        if (got == 0)
            return {};
        bytes.append(buffer, got);
    }
}

OsError FileSystem::WriteFileAtomic(const std::string& path, std::string_view bytes) {
    const std::string temp =
        path + ".~" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    const std::wstring wtemp = WinText::FilePath(temp);
    OsError error;
    {
        Handle h(CreateFileW(wtemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h.valid())
            return LastError();
        error = WriteAll(h.get(), bytes);
        if (!error && !FlushFileBuffers(h.get()))
            error = LastError();
        const OsError closed = h.Close();
        if (!error)
            error = closed;
    }
    if (!error && !MoveFileExW(wtemp.c_str(), WinText::FilePath(path).c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = LastError();
    if (error)
        DeleteFileW(wtemp.c_str());
    return error;
}

std::string FileSystem::ShortPathName(const std::string& path) {
    const std::wstring wide = WinText::FilePath(path);
    const DWORD n = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (n == 0)
        return path;
    std::wstring shortPath(n, L'\0');
    const DWORD got = GetShortPathNameW(wide.c_str(), shortPath.data(), n);
    if (got == 0 || got >= n)
        return path;
    shortPath.resize(got);
    // The long-path prefix added for the call is not part of the answer.
    if (shortPath.rfind(L"\\\\?\\", 0) == 0 && path.rfind("\\\\?\\", 0) != 0)
        shortPath.erase(0, 4);
    return WinText::Utf8(shortPath);
}

} // namespace brumo
