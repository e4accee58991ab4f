#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

namespace brumo {

std::wstring WinText::Wide(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

bool WinText::IsUtf8(std::string_view bytes) {
    return bytes.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

std::string WinText::Utf8(std::wstring_view wide) {
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::wstring WinText::FilePath(std::string_view utf8) {
    std::wstring path = Wide(utf8);
    // CreateDirectory stops at 248 characters, the other calls at 260.
    const bool driveAbsolute = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    if (path.size() >= 248 && driveAbsolute)
        return L"\\\\?\\" + path;
    return path;
}

std::wstring WinText::Upper(std::wstring_view text) {
    std::wstring out(text);
    if (!out.empty())
        CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

std::string WinText::CommandArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    std::string quoted = "\"";
    size_t slashes = 0;
    for (const char ch : arg) {
        if (ch == '\\') {
            ++slashes;
            continue;
        }
        quoted.append(ch == '"' ? 2 * slashes + 1 : slashes, '\\');
        slashes = 0;
        quoted += ch;
    }
    quoted.append(2 * slashes, '\\');
    return quoted + "\"";
}

} // namespace brumo
