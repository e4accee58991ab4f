#include "support/temp_tree.h"

#include "platform/win32/windows_api.h"
#include "support/win32/host_links.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

namespace brumo::test {

namespace fs = std::filesystem;

namespace {
// Removes a link or junction itself. Under Wine only the host can: Wine's own calls act on the
// link's target (removing an empty target folder).
void RemoveLink(const std::wstring& link) {
    if (HostLinks::Available())
        HostLinks::Remove(link);
    else if (!RemoveDirectoryW(link.c_str()))
        DeleteFileW(link.c_str());
}

// Removes everything below the folder (given with the "\\?\" prefix, so that trees deeper
// than the classic path limit go too), read-only entries included, never following links.
void EmptyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring entry = folder + L"\\" + name;
        const DWORD a = data.dwFileAttributes;
        // Wine shows a host's link to a folder as a reparse point, one to a file as a file.
        if ((a & FILE_ATTRIBUTE_REPARSE_POINT) ||
            (!(a & FILE_ATTRIBUTE_DIRECTORY) && HostLinks::IsLink(entry))) {
            RemoveLink(entry);
            continue;
        }
        if (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN))
            SetFileAttributesW(entry.c_str(), a & ~(FILE_ATTRIBUTE_READONLY |
                                                    FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN));
        if (a & FILE_ATTRIBUTE_DIRECTORY) {
            EmptyFolder(entry);
            RemoveDirectoryW(entry.c_str());
        } else if (!DeleteFileW(entry.c_str())) {
            HostLinks::Remove(entry); // under Wine, a host's link whose target has gone
        }
    } while (FindNextFileW(h, &data));
    FindClose(h);
}

void EmptyFolder(const fs::path& folder) {
    std::wstring path = folder.wstring();
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    if (path.size() == 3)
        path.pop_back(); // "M:" + "\\name"
    EmptyFolder(L"\\\\?\\" + path);
}

// Claims the first free spare drive across all test processes; the mutex is the claim.
bool ClaimSpareDrive(fs::path& root, void*& claim) {
    const char* spare = std::getenv("BRUMO_TEST_DRIVES");
    if (!spare)
        return false;
    for (const char* p = spare; *p; ++p) {
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
        if (letter < 'A' || letter > 'Z')
            continue;
        const std::string rootText = std::string(1, letter) + ":\\";
        if (GetDriveTypeA(rootText.c_str()) == DRIVE_NO_ROOT_DIR)
            continue;
        const std::string name = std::string("Local\\brumo-test-drive-") + letter;
        HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
        if (!mutex)
            continue;
        if (GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(mutex);
            continue;
        }
        root = rootText;
        claim = mutex;
        EmptyFolder(root); // what a test that crashed may have left
        return true;
    }
    return false;
}
} // namespace

TempTree::TempTree() {
    if (ClaimSpareDrive(root_, claim_))
        return;
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = "brumo-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(GetTickCount64() % 100000) + "-" +
                                 std::to_string(attempt);
        if (CreateDirectoryW((base / name).c_str(), nullptr)) {
            // The long form, so that paths the system reports compare equal to ours.
            wchar_t longPath[MAX_PATH * 2];
            const DWORD n = GetLongPathNameW((base / name).c_str(), longPath, MAX_PATH * 2);
            root_ = n > 0 && n < MAX_PATH * 2 ? fs::path(longPath) : base / name;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempTree::~TempTree() {
    EmptyFolder(root_);
    if (claim_) {
        CloseHandle(static_cast<HANDLE>(claim_));
        return;
    }
    std::error_code ec;
    fs::remove(root_, ec);
}

} // namespace brumo::test
