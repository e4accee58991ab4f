#include "platform/win32/parent_guard.h"

#include "platform/win32/final_path.h"
#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

#include <array>
#include <cctype>
#include <cwctype>
#include <mutex>

namespace brumo {

namespace {

bool IsDrivePath(const std::string& path) {
    return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/') &&
           std::isalpha(static_cast<unsigned char>(path[0]));
}

// Backslashes only, none doubled, none at the end.
std::wstring Normal(std::wstring path) {
    std::wstring out;
    out.reserve(path.size());
    for (wchar_t c : path) {
        if (c == L'/')
            c = L'\\';
        if (c == L'\\' && !out.empty() && out.back() == L'\\')
            continue;
        out += c;
    }
    while (!out.empty() && out.back() == L'\\')
        out.pop_back();
    return out;
}

// A drive's final name: what the system calls its root (another folder for a substituted drive,
// a share for a network drive). It changes only when the letter is mapped anew, so it is kept
// and looked up again when a comparison fails.
class DriveRoots {
public:
    std::wstring Get(wchar_t letter, bool fresh) {
        const size_t i = static_cast<size_t>(std::towupper(letter) - L'A');
        if (i >= roots_.size())
            return {};
        std::lock_guard<std::mutex> lock(mutex_);
        if (fresh || roots_[i].empty()) {
            const std::wstring root = std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L":\\";
            HANDLE h = CreateFileW(root.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
            if (h == INVALID_HANDLE_VALUE)
                return {};
            roots_[i] = WinText::Upper(Normal(FinalPath::Of(h)));
            CloseHandle(h);
        }
        return roots_[i];
    }

private:
    std::mutex mutex_;
    std::array<std::wstring, 26> roots_;
};

DriveRoots& Roots() {
    static DriveRoots roots;
    return roots;
}

// Whether the final name of a folder is its drive's final name followed by the folders of the
// drive path given (compared as the file system does, ignoring case).
bool SameFolder(const std::wstring& drivePath, const std::wstring& finalUpper, bool fresh) {
    const std::wstring root = Roots().Get(drivePath[0], fresh);
    if (root.empty())
        return false;
    const std::wstring below = Normal(drivePath.substr(2));
    return finalUpper == (below.empty() ? root : root + WinText::Upper(below));
}

// The folder's long form, for a path given with short (8.3) names.
std::wstring LongForm(const std::wstring& path) {
    std::wstring out(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD n = GetLongPathNameW(path.c_str(), out.data(), static_cast<DWORD>(out.size()));
        if (n == 0)
            return {};
        if (n < out.size()) {
            out.resize(n);
            if (out.rfind(L"\\\\?\\", 0) == 0)
                out.erase(0, 4);
            return out;
        }
        out.resize(n);
    }
    return {};
}

OsError LastError() {
    const DWORD code = GetLastError();
    return OsError{code ? static_cast<int>(code) : ERROR_GEN_FAILURE};
}

} // namespace

ParentGuard::~ParentGuard() {
    if (handle_)
        CloseHandle(handle_);
}

ParentGuard::ParentGuard(ParentGuard&& other) noexcept
    : handle_(other.handle_), final_(std::move(other.final_)) {
    other.handle_ = nullptr;
    other.final_.clear();
}

ParentGuard& ParentGuard::operator=(ParentGuard&& other) noexcept {
    if (this != &other) {
        if (handle_)
            CloseHandle(handle_);
        handle_ = other.handle_;
        final_ = std::move(other.final_);
        other.handle_ = nullptr;
        other.final_.clear();
    }
    return *this;
}

int ParentGuard::LinkOnTheWay() {
    return ERROR_CANT_RESOLVE_FILENAME;
}

std::string ParentGuard::FolderOf(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos)
        return {};
    if (cut <= 2)
        return path.substr(0, 2) + "\\";
    return path.substr(0, cut);
}

OsError ParentGuard::Open(const std::string& path, ParentGuard& out) {
    out = ParentGuard();
    if (!IsDrivePath(path))
        return {};
    const std::string folder = FolderOf(path);
    // Listing access, so that the open takes part in sharing: without delete sharing nobody
    // may rename or remove the folder while it is held.
    HANDLE h = CreateFileW(WinText::FilePath(folder).c_str(),
                           FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        // As the operation itself would have answered for a missing folder.
        return GetLastError() == ERROR_FILE_NOT_FOUND ? OsError{ERROR_PATH_NOT_FOUND} : LastError();
    }
    out.handle_ = h;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info))
        return LastError();
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return OsError{ERROR_PATH_NOT_FOUND};
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return OsError{LinkOnTheWay()};
    const std::wstring final = FinalPath::Of(h);
    if (final.empty())
        return LastError();
    const std::wstring finalUpper = WinText::Upper(Normal(final));
    const std::wstring wide = WinText::Wide(folder);
    out.final_ = finalUpper;
    if (SameFolder(wide, finalUpper, false) || SameFolder(wide, finalUpper, true))
        return {};

    // Short names in the path: compare its long form. A link keeps its own name in the long
    // form, so this never lets one pass. The last folder so accepted is remembered, as a run
    // removes many files from one folder.
    thread_local std::wstring acceptedFolder, acceptedFinal;
    const std::wstring folderUpper = WinText::Upper(Normal(wide));
    if (folderUpper == acceptedFolder && finalUpper == acceptedFinal)
        return {};
    const std::wstring longForm = LongForm(WinText::FilePath(folder));
    if (longForm.size() >= 2 && longForm[1] == L':' && SameFolder(longForm, finalUpper, false)) {
        acceptedFolder = folderUpper;
        acceptedFinal = finalUpper;
        return {};
    }
    out.final_.clear();
    return OsError{LinkOnTheWay()};
}

OsError ParentGuard::OpenForEntry(const std::string& path, ParentGuard& out) {
    if (OsError e = Open(path, out))
        return e;
    return out.CheckEntry(path);
}

OsError ParentGuard::CheckEntry(const std::string& path) const {
    if (final_.empty())
        return {};
    HANDLE h =
        CreateFileW(WinText::FilePath(path).c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return LastError();
    const std::wstring final = FinalPath::Of(h);
    CloseHandle(h);
    if (final.empty())
        return LastError();
    const std::wstring finalUpper = WinText::Upper(Normal(final));
    const std::wstring name = WinText::Wide(path.substr(path.find_last_of("\\/") + 1));
    if (finalUpper == final_ + L"\\" + WinText::Upper(name))
        return {};
    // A name given in its short form.
    const std::wstring longForm = LongForm(WinText::FilePath(path));
    const size_t cut = longForm.find_last_of(L'\\');
    if (cut != std::wstring::npos && finalUpper == final_ + WinText::Upper(longForm.substr(cut)))
        return {};
    return OsError{LinkOnTheWay()};
}

} // namespace brumo
