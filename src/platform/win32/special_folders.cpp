#include "platform/special_folders.h"

#include "platform/win32/final_path.h"
#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

#include <shlobj.h>

namespace brumo {

namespace {
std::string ShellFolder(int csidl) {
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list)
        return {};
    wchar_t path[MAX_PATH] = {};
    const bool ok = SHGetPathFromIDListW(list, path);
    CoTaskMemFree(list);
    return ok ? WinText::Utf8(path) : std::string();
}
} // namespace

std::string SpecialFolders::TempPath() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, path);
    if (n == 0 || n > MAX_PATH)
        return {};
    return WinText::Utf8(std::wstring_view(path, n));
}

std::string SpecialFolders::CookiesFolder() {
    return ShellFolder(CSIDL_COOKIES);
}

std::string SpecialFolders::InternetCacheFolder() {
    return ShellFolder(CSIDL_INTERNET_CACHE);
}

std::string SpecialFolders::WindowsFolder() {
    wchar_t path[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryW(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return {};
    return WinText::Utf8(std::wstring_view(path, n));
}

std::string SpecialFolders::ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            // The program's own files are removed and replaced by path, which is only allowed
            // through no link: name them as the system does.
            return FinalPath::Resolve(WinText::Utf8(path));
        }
        path.resize(path.size() * 2);
    }
}

std::string SpecialFolders::UserDataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return FinalPath::Resolve(WinText::Utf8(path) + "\\Brumo");
}

std::string SpecialFolders::UserHomeFolder() {
    return {};
}

std::string SpecialFolders::UserCacheFolder() {
    return {};
}

std::string SpecialFolders::HomeTrashFolder() {
    // The Recycle Bin lives in the drive-root folders that the walk skips by name.
    return {};
}

std::vector<std::string> SpecialFolders::SystemFolders() {
    return {}; // the Windows folder is searched as any other
}

} // namespace brumo
