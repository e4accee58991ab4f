#include "platform/win32/held_folder.h"

#include "platform/win32/win_text.h"

#include <algorithm>
#include <cctype>

namespace brumo {

namespace {

constexpr ACCESS_MASK kListing = FILE_LIST_DIRECTORY | FILE_TRAVERSE;
constexpr ULONG kShareAll = HeldFolder::ShareAll;

OsError LastError() {
    const DWORD code = GetLastError();
    return OsError{code ? static_cast<int>(code) : ERROR_GEN_FAILURE};
}

// The long form of a name given in its short (8.3) form, upper case; empty when none.
std::wstring LongName(const std::wstring& folderFinal, const std::wstring& name) {
    if (name.find(L'~') == std::wstring::npos)
        return {};
    // Wine gives "\\?\" paths back unchanged.
    std::wstring path = folderFinal + L"\\" + name;
    if (path.size() < MAX_PATH && path.rfind(L"\\\\?\\", 0) == 0 && path[5] == L':')
        path.erase(0, 4);
    std::wstring out(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD n = GetLongPathNameW(path.c_str(), out.data(), static_cast<DWORD>(out.size()));
        if (n == 0)
            return {};
        if (n < out.size()) {
            out.resize(n);
            return WinText::Upper(out.substr(out.find_last_of(L'\\') + 1));
        }
        out.resize(n);
    }
    return {};
}

// Whether an entry opened by name below a folder is that folder's entry of that name: its final
// name is the folder's, a backslash, and the name (or the long form of a short name).
bool IsOwnEntry(const std::wstring& folderFinal, const NtFile& entry, const std::wstring& name) {
    const std::wstring final = entry.FinalName();
    if (folderFinal.empty() || final.size() <= folderFinal.size() + 1 ||
        final.compare(0, folderFinal.size(), folderFinal) != 0 ||
        final[folderFinal.size()] != L'\\')
        return false;
    const std::wstring own = final.substr(folderFinal.size() + 1);
    if (own.find(L'\\') != std::wstring::npos)
        return false;
    return own == WinText::Upper(name) || own == LongName(folderFinal, name);
}

} // namespace

int HeldFolder::LinkOnTheWay() {
    return ERROR_CANT_RESOLVE_FILENAME;
}

bool HeldFolder::Split(const std::string& path, std::string& folder, std::string& name) {
    if (path.size() < 4 || path[1] != ':' || (path[2] != '\\' && path[2] != '/') ||
        !std::isalpha(static_cast<unsigned char>(path[0])))
        return false;
    const size_t cut = path.find_last_of("\\/");
    if (cut + 1 == path.size())
        return false;
    folder = path.substr(0, cut < 3 ? 3 : cut);
    name = path.substr(cut + 1);
    return true;
}

OsError HeldFolder::Open(const std::string& folder, HeldFolder& out, bool create) {
    out.chain_.clear();
    out.final_.clear();
    if (folder.size() < 2 || folder[1] != ':' ||
        !std::isalpha(static_cast<unsigned char>(folder[0])))
        return OsError{ERROR_PATH_NOT_FOUND};
    const std::wstring root = WinText::Wide(folder.substr(0, 2)) + L"\\";
    const HANDLE h =
        CreateFileW(root.c_str(), kListing | FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return LastError();
    NtFile rootHandle(h);
    out.final_ = rootHandle.FinalName();
    if (out.final_.empty())
        return LastError();
    out.chain_.push_back(std::move(rootHandle));

    size_t pos = 2;
    while (pos < folder.size()) {
        const size_t end = std::min(folder.find_first_of("\\/", pos + 1), folder.size());
        const std::string part = folder.substr(pos + 1, end - pos - 1);
        pos = end;
        if (part.empty())
            continue;
        if (part == "." || part == "..")
            return OsError{ERROR_INVALID_NAME};
        const std::wstring name = WinText::Wide(part);
        // Listing access takes part in sharing: while held, nobody may delete or rename it.
        // A folder the user may pass through but not list is held for passing only.
        const ULONG disposition = create ? FILE_OPEN_IF : FILE_OPEN;
        NtFile next;
        OsError e = NtFile::Open(out.Handle(), name, kListing, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 disposition, FILE_DIRECTORY_FILE, next);
        if (e.code == ERROR_ACCESS_DENIED)
            e = NtFile::Open(out.Handle(), name, FILE_TRAVERSE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             disposition, FILE_DIRECTORY_FILE, next);
        // As a call by path answers for a folder that is missing or is none.
        if (e.code == ERROR_FILE_NOT_FOUND || e.code == ERROR_DIRECTORY)
            e.code = ERROR_PATH_NOT_FOUND;
        if (e)
            return e;
        FileIdentity identity;
        if (OsError ie = next.Identity(identity))
            return ie;
        if (!(identity.attributes & FILE_ATTRIBUTE_DIRECTORY))
            return OsError{ERROR_PATH_NOT_FOUND};
        if ((identity.attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
            !IsOwnEntry(out.final_, next, name))
            return OsError{LinkOnTheWay()};
        out.final_ = next.FinalName();
        out.chain_.push_back(std::move(next));
    }
    return {};
}

OsError HeldFolder::OpenEntry(const std::string& name, ACCESS_MASK access, NtFile& out,
                              FileIdentity& identity, ULONG options, ULONG share) const {
    const std::wstring wide = WinText::Wide(name);
    if (OsError e = NtFile::Open(Handle(), wide, access, share, FILE_OPEN, options, out))
        return e;
    if (OsError e = out.Identity(identity)) {
        out.Reset();
        return e;
    }
    if (!IsOwnEntry(final_, out, wide)) {
        out.Reset();
        return OsError{LinkOnTheWay()};
    }
    // The system found the name ignoring case; a twin must not stand in for a file that went.
    const std::wstring final = out.FinalName(false);
    const std::wstring own = final.substr(final.find_last_of(L'\\') + 1);
    if (own != wide && WinText::Upper(own) == WinText::Upper(wide) && TellsCaseApart()) {
        out.Reset();
        return OsError{ERROR_FILE_NOT_FOUND};
    }
    return {};
}

OsError HeldFolder::CreateEntry(const std::string& name, ACCESS_MASK access, NtFile& out) const {
    const std::wstring wide = WinText::Wide(name);
    if (OsError e = NtFile::Open(Handle(), wide, access | DELETE, 0, FILE_CREATE,
                                 FILE_NON_DIRECTORY_FILE, out))
        return e;
    if (!IsOwnEntry(final_, out, wide)) {
        (void)out.SetDisposition(true);
        out.Reset();
        return OsError{LinkOnTheWay()};
    }
    return {};
}

bool HeldFolder::TellsCaseApart() const {
    struct {
        ULONG Flags;
    } info{};
    constexpr ULONG kCaseSensitiveDir = 1;
    if (GetFileInformationByHandleEx(Handle(), FileCaseSensitiveInfo, &info, sizeof info))
        return info.Flags & kCaseSensitiveDir;
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version");
    return wine;
}

bool HeldFolder::Names(const std::string& name, const FileIdentity& identity) const {
    NtFile entry;
    FileIdentity now;
    return !OpenEntry(name, 0, entry, now) && now.SameFile(identity);
}

OsError HeldFolder::Reaches(const std::string& path, const FileIdentity& identity) {
    NtFile entry;
    if (OsError e = NtFile::OpenPath(path, 0, entry))
        return e;
    FileIdentity now;
    if (OsError e = entry.Identity(now))
        return e;
    return now.SameFile(identity) ? OsError{} : OsError{LinkOnTheWay()};
}

} // namespace brumo
