#include "platform/shell.h"

#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

#include <shellapi.h>

namespace brumo {

namespace {
bool IsConsole(DWORD which) {
    HANDLE h = GetStdHandle(which);
    DWORD mode = 0;
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) == FILE_TYPE_CHAR &&
           GetConsoleMode(h, &mode);
}
} // namespace

int Shell::RunProgram(const std::vector<std::string>& argv, std::string& output) {
    output.clear();
    if (argv.empty())
        return -1;
    std::string narrow;
    for (const std::string& arg : argv)
        narrow += (narrow.empty() ? "" : " ") + WinText::CommandArgument(arg);
    std::wstring line = WinText::Wide(narrow);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0))
        return -1;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = write;
    startup.hStdError = write;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(write);
    if (!started) {
        CloseHandle(read);
        return -1;
    }
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(read, buffer, sizeof buffer, &n, nullptr) && n > 0)
        output.append(buffer, n);
    CloseHandle(read);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return static_cast<int>(code);
}

bool Shell::OpenWithDefaultApp(const std::string& path) {
    const std::wstring file = WinText::Wide(path);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

bool Shell::StdoutIsTerminal() {
    return IsConsole(STD_OUTPUT_HANDLE);
}

int Shell::StdoutColumns() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!IsConsole(STD_OUTPUT_HANDLE) ||
        !GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info))
        return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

bool Shell::HasDesktop() {
    // A process of an interactive session, or of a service allowed to interact with it.
    HWINSTA station = GetProcessWindowStation();
    USEROBJECTFLAGS flags{};
    return station &&
           GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr) &&
           (flags.dwFlags & WSF_VISIBLE) != 0;
}

bool Shell::StdinIsTerminal() {
    return IsConsole(STD_INPUT_HANDLE);
}

void Shell::LetClosedPipesFailWrites() {} // they always do here

void Shell::LowerCurrentThreadPriority() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

} // namespace brumo
