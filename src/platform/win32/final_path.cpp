#include "platform/win32/final_path.h"

#include "platform/win32/win_text.h"

#include <winternl.h>

#include <cctype>
#include <vector>

namespace brumo {

namespace {
bool IsDrivePath(const std::string& path) {
    return path.size() >= 3 && path[1] == ':' && path[2] == '\\' &&
           std::isalpha(static_cast<unsigned char>(path[0]));
}

HANDLE OpenFollowing(const std::string& path) {
    return CreateFileW(WinText::FilePath(path).c_str(), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The object manager's name of the handle, as a "\\?\" path: Wine names files "\??\X:\...",
// Windows "\Device\HarddiskVolumeN\...", which is matched against the drives' devices.
std::wstring ObjectName(HANDLE handle) {
    std::vector<unsigned char> buffer(4096);
    ULONG needed = 0;
    NTSTATUS status = NtQueryObject(handle, ObjectNameInformation, buffer.data(),
                                    static_cast<ULONG>(buffer.size()), &needed);
    if (!NT_SUCCESS(status) && needed > buffer.size()) {
        buffer.resize(needed);
        status = NtQueryObject(handle, ObjectNameInformation, buffer.data(),
                               static_cast<ULONG>(buffer.size()), &needed);
    }
    if (!NT_SUCCESS(status))
        return {};
    const auto* counted = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    const std::wstring name(counted->Buffer, counted->Length / sizeof(wchar_t));
    if (name.rfind(L"\\??\\", 0) == 0)
        return L"\\\\?\\" + name.substr(4);
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        const wchar_t drive[3] = {letter, L':', 0};
        wchar_t device[MAX_PATH];
        if (!QueryDosDeviceW(drive, device, MAX_PATH))
            continue;
        const std::wstring prefix(device);
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            name[prefix.size()] == L'\\')
            return L"\\\\?\\" + std::wstring(drive) + name.substr(prefix.size());
    }
    return {};
}
} // namespace

std::wstring FinalPath::Of(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD n =
            GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0)
            break;
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(n); // too small: n is the size needed, with the terminating zero
    }
    // Wine answers "more data" for any name past the classic limit, whatever the buffer.
    return ObjectName(handle);
}

std::string FinalPath::Resolve(const std::string& path) {
    if (!IsDrivePath(path))
        return path;
    // The deepest folder that exists carries the rest of the path unchanged.
    std::string existing = path;
    while (existing.size() > 3 && existing.back() == '\\')
        existing.pop_back();
    std::string rest;
    HANDLE h = OpenFollowing(existing);
    while (h == INVALID_HANDLE_VALUE && existing.size() > 3) {
        const size_t cut = existing.find_last_of('\\');
        rest = existing.substr(cut) + rest;
        existing.resize(cut < 3 ? 3 : cut);
        h = OpenFollowing(existing);
    }
    if (h == INVALID_HANDLE_VALUE)
        return path;
    const std::wstring final = Of(h);
    CloseHandle(h);
    // "\\?\X:\..." becomes "X:\..."; a share keeps the path as given.
    if (final.size() < 7 || final.compare(0, 4, L"\\\\?\\") != 0 || final[5] != L':')
        return path;
    std::string resolved = WinText::Utf8(std::wstring_view(final).substr(4));
    if (!rest.empty() && resolved.back() == '\\')
        resolved.pop_back();
    return resolved + rest;
}

} // namespace brumo
