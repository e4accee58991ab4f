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
void ClearReadOnly(const fs::path& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    if (a != INVALID_FILE_ATTRIBUTES &&
        (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN)))
        SetFileAttributesW(path.c_str(), a & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM |
                                               FILE_ATTRIBUTE_HIDDEN));
}

// Removes a link or junction itself. Under Wine only the host can: Wine's own calls act on the
// link's target (removing an empty target folder).
void RemoveLink(const fs::path& link) {
    if (HostLinks::Available())
        HostLinks::Remove(link);
    else if (!RemoveDirectoryW(link.c_str()))
        DeleteFileW(link.c_str());
}

// Removes everything below the folder, read-only entries included, never following links
// (which the standard library cannot tell from folders here).
void EmptyFolder(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path entry = it->path();
        const DWORD a = GetFileAttributesW(entry.c_str());
        if ((a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT)) ||
            HostLinks::IsLink(entry)) {
            RemoveLink(entry);
            continue;
        }
        ClearReadOnly(entry);
        if (it->is_directory(ec))
            EmptyFolder(entry);
        std::error_code ignored;
        fs::remove(entry, ignored);
    }
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
