#include "support/win32/host_links.h"

#include "platform/win32/windows_api.h"

#include <functional>
#include <string>

namespace brumo::test {

namespace fs = std::filesystem;

namespace {

using UnixName = char*(CDECL*)(const wchar_t*);

UnixName UnixNameCall() {
    static const UnixName call = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    return call;
}

// The host's name of a Windows path, as a quoted argument of a host command.
std::wstring HostArgument(const fs::path& path) {
    char* name = UnixNameCall()(path.c_str());
    if (!name)
        return {};
    const std::string bytes(name);
    HeapFree(GetProcessHeap(), 0, name);
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
    return L"\"" + wide + L"\"";
}

bool Exists(const fs::path& path) {
    // Without following a link: a link whose target is gone still counts.
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW(path.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    FindClose(h);
    return true;
}

// Runs a host program; Wine gives no handle to wait on for one, so its effect is awaited
// instead, for up to ten seconds.
bool RunHost(std::wstring commandLine, const std::function<bool()>& done) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int waited = 0; waited < 10000; waited += 10) {
        if (done())
            return true;
        Sleep(10);
    }
    return false;
}

bool RunHost(std::wstring commandLine, const fs::path& path, bool shouldExist) {
    return RunHost(std::move(commandLine), [&] { return Exists(path) == shouldExist; });
}

std::wstring FinalName(const fs::path& path) {
    HANDLE h = CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    wchar_t name[4096];
    const DWORD n = GetFinalPathNameByHandleW(h, name, 4096, 0);
    CloseHandle(h);
    std::wstring out(name, n < 4096 ? n : 0);
    CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

} // namespace

bool HostLinks::IsLink(const fs::path& path) {
    if (!Available())
        return false;
    // By the text: the standard library reads "\\?\" paths in its own way.
    std::wstring text = path.wstring();
    for (auto& c : text)
        if (c == L'/')
            c = L'\\';
    const size_t cut = text.find_last_of(L'\\');
    if (cut == std::wstring::npos || cut + 1 == text.size())
        return false;
    std::wstring own = FinalName(text.substr(0, cut + 1));
    if (own.empty())
        return false;
    if (own.back() != L'\\')
        own += L'\\';
    std::wstring name = text.substr(cut + 1);
    CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    const std::wstring final = FinalName(path);
    return !final.empty() && final != own + name;
}

bool HostLinks::Available() {
    return UnixNameCall() != nullptr;
}

bool HostLinks::Make(const fs::path& link, const fs::path& target) {
    if (!Available())
        return false;
    const std::wstring from = HostArgument(target), to = HostArgument(link);
    if (from.empty() || to.empty())
        return false;
    return RunHost(L"\\\\?\\unix\\bin\\ln -s -- " + from + L" " + to, link, true);
}

bool HostLinks::CopyBeside(const fs::path& file, const std::wstring& name) {
    if (!Available())
        return false;
    const fs::path copy = file.parent_path() / name;
    // Wine would find the file itself by its twin's name: the folder is looked up alone.
    const std::wstring from = HostArgument(file);
    std::wstring to = HostArgument(file.parent_path());
    if (from.empty() || to.size() < 2)
        return false;
    to.insert(to.size() - 1, L"/" + name);
    const auto entries = [&] {
        return std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator());
    };
    const auto before = entries();
    return RunHost(L"\\\\?\\unix\\bin\\cp -- " + from + L" " + to, [&] {
        std::error_code error;
        return entries() > before && fs::file_size(copy, error) == fs::file_size(file, error);
    });
}

bool HostLinks::Remove(const fs::path& link) {
    if (!Available())
        return false;
    const std::wstring name = HostArgument(link);
    return !name.empty() && RunHost(L"\\\\?\\unix\\bin\\rm -f -- " + name, link, false);
}

} // namespace brumo::test
