#include "platform/file_system.h"

#include "platform/file_attributes.h"
#include "platform/win32/final_path.h"
#include "platform/win32/held_entry.h"
#include "platform/win32/held_move.h"
#include "platform/win32/partial_copy.h"
#include "platform/win32/process_state.h"
#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

#include <string>
#include <vector>

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

OsError ReadAll(HANDLE h, std::string& bytes) {
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(h, buffer, sizeof buffer, &got, nullptr))
            return LastError();
        if (got == 0)
            return {};
        bytes.append(buffer, got);
    }
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
    // The search answers with the name as stored; a case twin, or the one file spelled
    // otherwise where case is folded, is not this name.
    const size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos || path.find_first_of("*?") != std::string::npos)
        return false;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileExW(WinText::FilePath(path).c_str(), FindExInfoBasic, &data,
                                FindExSearchNameMatch, nullptr, 0);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const std::wstring wanted = WinText::Wide(path.substr(cut + 1));
    bool spelled = false;
    do
        spelled = !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && wanted == data.cFileName;
    while (!spelled && FindNextFileW(h, &data));
    FindClose(h);
    return spelled;
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
    HeldEntry entry;
    if (OsError e = entry.Open(path, FILE_WRITE_ATTRIBUTES))
        return e;
    // A link keeps its target's attributes out of reach, as on POSIX.
    if (entry.identity.attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return {};
    return entry.file.SetAttributes(attributes);
}

OsError FileSystem::DeleteFile(const std::string& path) {
    HeldEntry entry;
    if (!entry.Splits(path))
        return Result(DeleteFileW(WinText::FilePath(path).c_str()));
    // Opened as itself, a link is deleted as the link. Opened by nobody else: a file another
    // program holds open would only be marked for deletion, and go whenever that program lets
    // it, after this call has reported whatever it reports; it is left as it is.
    if (OsError e = entry.Open(DELETE, FILE_NON_DIRECTORY_FILE, 0))
        return e;
    if (entry.identity.attributes & FILE_ATTRIBUTE_READONLY)
        return OsError{ERROR_ACCESS_DENIED};
    if (OsError e = HeldFolder::Reaches(path, entry.identity))
        return e;
    if (OsError e = entry.file.SetDisposition(true))
        return e;
    entry.file.Reset();
    // Wine removes the name only where it still leads to the file; a name that led elsewhere
    // meanwhile is left, and so is the file.
    if (entry.folder.Names(entry.name, entry.identity))
        return OsError{HeldFolder::LinkOnTheWay()};
    return {};
}

OsError FileSystem::MoveFile(const std::string& from, const std::string& to) {
    HeldEntry source;
    std::string toFolder, toName;
    if (!source.Splits(from) || !HeldFolder::Split(to, toFolder, toName))
        return MoveByPath(from, to);
    HeldFolder target;
    // As for a delete: a file in use elsewhere would lose its old name only when that program
    // closes it, which undoes the move's check; it stays where it is.
    if (OsError e = source.Open(DELETE | FILE_WRITE_ATTRIBUTES, FILE_NON_DIRECTORY_FILE, 0))
        return e;
    if (OsError e = HeldFolder::Open(toFolder, target))
        return e;
    if (OsError e = HeldFolder::Reaches(from, source.identity))
        return e;
    const HeldMove move{source.folder, source.name, target, toName, PartialCopy::FolderFor(to)};
    return move.Move(source.file, source.identity, from, to);
}

OsError FileSystem::CreateFolders(const std::string& path) {
    std::string p = path;
    while (p.size() > 3 && p.back() == '\\')
        p.pop_back();
    // Below a drive root no existing folder may be a link: new folders never land in a link's
    // target.
    if (p.size() >= 2 && p[1] == ':' && (p.size() == 2 || p[2] == '\\')) {
        HeldFolder folder;
        return HeldFolder::Open(p, folder, true);
    }
    OsError last;
    for (size_t pos = p.find('\\');; pos = p.find('\\', pos + 1)) {
        const std::string prefix = p.substr(0, pos);
        if (!prefix.empty() && !FolderExists(prefix) &&
            !CreateDirectoryW(WinText::FilePath(prefix).c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            last = LastError();
        if (pos == std::string::npos)
            break;
    }
    if (FolderExists(p))
        return {};
    return last ? last : OsError{ERROR_PATH_NOT_FOUND};
}

OsError FileSystem::RemoveEmptyFolder(const std::string& path) {
    HeldEntry entry;
    if (!entry.Splits(path))
        return Result(RemoveDirectoryW(WinText::FilePath(path).c_str()));
    if (OsError e = entry.Open(DELETE, FILE_DIRECTORY_FILE))
        return e;
    // A junction, or Wine's view of a host's link to a folder, is left as it is.
    if (entry.identity.attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return OsError{HeldFolder::LinkOnTheWay()};
    // The system refuses to remove a folder that is not empty.
    return entry.file.SetDisposition(true);
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

std::optional<int64_t> FileSystem::ChangeTime(const std::string& path) {
    HeldEntry entry;
    if (entry.Open(path, FILE_READ_ATTRIBUTES))
        return std::nullopt;
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(entry.file.Get(), FileBasicInfo, &basic, sizeof basic))
        return std::nullopt;
    return basic.ChangeTime.QuadPart;
}

OsError FileSystem::ReadFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    Handle h(CreateFileW(WinText::FilePath(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        return LastError();
    return ReadAll(h.get(), bytes);
}

OsError FileSystem::ReadFileNoLink(const std::string& path, std::string& bytes) {
    bytes.clear();
    HeldEntry entry;
    if (!entry.Splits(path))
        return OsError{ERROR_INVALID_NAME};
    if (OsError e = entry.Open(FILE_READ_DATA))
        return e;
    if (entry.identity.attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return OsError{HeldFolder::LinkOnTheWay()};
    return ReadAll(entry.file.Get(), bytes);
}

OsError FileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
    HeldEntry entry;
    if (!entry.Splits(path))
        return OsError{ERROR_INVALID_NAME};
    if (OsError e = HeldFolder::Open(entry.folderPath, entry.folder))
        return e;
    if (OsError e = entry.folder.CreateEntry(entry.name, FILE_WRITE_DATA, entry.file))
        return e;
    const OsError error = WriteAll(entry.file.Get(), bytes);
    if (error)
        (void)entry.file.SetDisposition(true);
    return error;
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
    else
        RemoveStaleTemporaryFiles(path);
    return error;
}

void FileSystem::RemoveStaleTemporaryFiles(const std::string& path) {
    // Our temporary files are "<path>.~<pid>-<ticks>".
    const size_t nameStart = path.find_last_of("\\/") + 1;
    const std::string folder = path.substr(0, nameStart);
    const std::string prefix = path.substr(nameStart) + ".~";
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(WinText::FilePath(path + ".~*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::string> stale;
    do {
        const std::string name = WinText::Utf8(data.cFileName);
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string tail = name.substr(prefix.size());
        const size_t dash = tail.find('-');
        if (dash == 0 || dash > 9 || dash + 1 == tail.size() ||
            tail.find_first_not_of("0123456789-") != std::string::npos)
            continue;
        if (ProcessState::HasEnded(static_cast<DWORD>(std::stoul(tail.substr(0, dash)))))
            stale.push_back(folder + name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (const std::string& file : stale)
        DeleteFileW(WinText::FilePath(file).c_str());
}

bool FileSystem::IsSpecialFile(const std::string&) {
    return false; // a path of the file system names no pipe or device here
}

std::string FileSystem::LinkTarget(const std::string& path) {
    return FinalPath::Resolve(path);
}

namespace {
// A path in the other form of its names, as GetShortPathNameW or GetLongPathNameW gives it.
template <typename Convert> std::string OtherForm(const std::string& path, Convert convert) {
    const std::wstring wide = WinText::FilePath(path);
    const DWORD n = convert(wide.c_str(), nullptr, 0);
    if (n == 0)
        return path;
    std::wstring other(n, L'\0');
    const DWORD got = convert(wide.c_str(), other.data(), n);
    if (got == 0 || got >= n)
        return path;
    other.resize(got);
    // The long-path prefix added for the call is not part of the answer.
    if (other.rfind(L"\\\\?\\", 0) == 0 && path.rfind("\\\\?\\", 0) != 0)
        other.erase(0, 4);
    return WinText::Utf8(other);
}
} // namespace

std::string FileSystem::ShortPathName(const std::string& path) {
    return OtherForm(path, GetShortPathNameW);
}

std::string FileSystem::LongPathName(const std::string& path) {
    return OtherForm(path, GetLongPathNameW);
}

} // namespace brumo
