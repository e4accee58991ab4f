#include "platform/os_error.h"

#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

namespace brumo {

std::string OsError::MessageFor(int code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (n > 0 && buffer)
        text = WinText::Utf8(std::wstring_view(buffer, n));
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "Error " + std::to_string(code);
    return text;
}

int OsError::AccessDenied() {
    return ERROR_ACCESS_DENIED;
}

int OsError::NotFound() {
    return ERROR_FILE_NOT_FOUND;
}

int OsError::NameTooLong() {
    return ERROR_FILENAME_EXCED_RANGE;
}

} // namespace brumo
